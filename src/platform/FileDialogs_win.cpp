#include "platform/FileDialogs.h"

#include <QDir>

#include <windows.h>
#include <shobjidl.h>

#include <string>
#include <vector>

namespace platform {

const bool kOwnFileDialogs = true;

namespace {

// Owns one COM interface pointer.
template <typename Interface>
class Com final {
public:
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com()
    {
        if (m_pointer)
            m_pointer->Release();
    }
    Interface* operator->() const { return m_pointer; }
    Interface* get() const { return m_pointer; }
    Interface** put() { return &m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

private:
    Interface* m_pointer = nullptr;
};

// COM for this thread while a dialog is up; Qt has usually initialised it already.
class ComApartment final {
public:
    ComApartment() : m_result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ~ComApartment()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;

private:
    HRESULT m_result;
};

std::wstring wide(const QString& text)
{
    return text.toStdWString();
}

QString filePath(IShellItem* item)
{
    PWSTR path = nullptr;
    if (!item || FAILED(item->GetDisplayName(SIGDN_FILESYSPATH, &path)) || !path)
        return {};
    const QString result = QString::fromWCharArray(path);
    CoTaskMemFree(path);
    return QDir::fromNativeSeparators(result);
}

} // namespace

std::optional<FileDialogAnswer> showFileDialog(const FileDialogRequest& request, quintptr owner)
{
    const ComApartment apartment;
    const bool save = request.mode == FileDialogRequest::Mode::Save;
    Com<IFileDialog> dialog;
    if (FAILED(CoCreateInstance(save ? CLSID_FileSaveDialog : CLSID_FileOpenDialog, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(dialog.put()))))
        return std::nullopt;

    FILEOPENDIALOGOPTIONS options = 0;
    dialog->GetOptions(&options);
    options |= FOS_FORCEFILESYSTEM | FOS_NOCHANGEDIR | FOS_PATHMUSTEXIST;
    if (save) {
        options &= ~FOS_OVERWRITEPROMPT;
        if (request.confirmOverwrite)
            options |= FOS_OVERWRITEPROMPT;
    } else {
        options |= FOS_FILEMUSTEXIST;
        if (request.multiSelect)
            options |= FOS_ALLOWMULTISELECT;
    }
    dialog->SetOptions(options);

    // The filters as given; no default extension, so the name is taken as shown and a
    // switch of the file type leaves it as it is.
    std::vector<std::wstring> names;
    std::vector<std::wstring> patterns;
    for (qsizetype i = 0; i < request.filterNames.size() && i < request.filterPatterns.size(); ++i) {
        names.push_back(wide(request.filterNames[i]));
        patterns.push_back(wide(request.filterPatterns[i]));
    }
    std::vector<COMDLG_FILTERSPEC> filters;
    for (std::size_t i = 0; i < names.size(); ++i)
        filters.push_back({names[i].c_str(), patterns[i].c_str()});
    if (!filters.empty()) {
        dialog->SetFileTypes(UINT(filters.size()), filters.data());
        if (request.filterIndex >= 1 && std::size_t(request.filterIndex) <= filters.size())
            dialog->SetFileTypeIndex(UINT(request.filterIndex));
    }
    if (!request.folder.isEmpty()) {
        Com<IShellItem> folder;
        if (SUCCEEDED(SHCreateItemFromParsingName(wide(QDir::toNativeSeparators(request.folder)).c_str(), nullptr,
                                                  IID_PPV_ARGS(folder.put()))))
            dialog->SetFolder(folder.get());
    }
    if (!request.fileName.isEmpty())
        dialog->SetFileName(wide(request.fileName).c_str());

    if (FAILED(dialog->Show(reinterpret_cast<HWND>(owner))))
        return std::nullopt; // cancelled

    FileDialogAnswer answer;
    UINT index = 0;
    if (SUCCEEDED(dialog->GetFileTypeIndex(&index)) && index >= 1)
        answer.filterIndex = int(index);
    if (save) {
        Com<IShellItem> item;
        if (SUCCEEDED(dialog->GetResult(item.put())))
            answer.path = filePath(item.get());
    } else {
        Com<IFileOpenDialog> open;
        Com<IShellItemArray> items;
        Com<IShellItem> first;
        if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(open.put())))
            && SUCCEEDED(open->GetResults(items.put())) && SUCCEEDED(items->GetItemAt(0, first.put())))
            answer.path = filePath(first.get());
    }
    if (answer.path.isEmpty())
        return std::nullopt;
    return answer;
}

} // namespace platform
