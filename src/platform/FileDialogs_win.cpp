#include "platform/FileDialogs.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

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

// The name a dialog makes of `name` when the user switches from a filter with `oldPatterns`
// to one with `newPatterns` and renames the file after the new type: a name of the old type
// loses its extension, and the new type's first extension is put after it. Windows does so
// with a default extension, Wine's version of the dialog always.
QString renamedForType(const QString& name, const QString& oldPatterns, const QString& newPatterns)
{
    const QString first = newPatterns.split(QLatin1Char(';')).value(0).trimmed();
    const qsizetype dot = first.lastIndexOf(QLatin1Char('.'));
    if (dot < 0 || first.indexOf(QLatin1Char('*'), dot) >= 0)
        return name;
    QString renamed = name;
    for (const QString& pattern : oldPatterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern.trimmed()),
                                       QRegularExpression::CaseInsensitiveOption);
        const qsizetype extension = renamed.lastIndexOf(QLatin1Char('.'));
        if (match.match(renamed).hasMatch() && extension > 0) {
            renamed.truncate(extension);
            break;
        }
    }
    return renamed + first.mid(dot);
}

// The save dialog's file is the name shown in it, whatever the file type: the type changes
// neither the content nor the name of what is saved.
// - A dialog that renames the file after a switch of the type gets the name back; one the
//   user retyped meanwhile is left as it stands.
// - The file is the folder shown and the name as typed. Windows takes it so without a default
//   extension; Wine's version of the dialog puts the type's extension after a name of another
//   type (and would ask about overwriting that other file), so the question whether to
//   replace an existing file is asked here, about the file that will be written.
class SaveAsShown final : public IFileDialogEvents {
public:
    SaveAsShown(const QStringList& patterns, UINT index, const QString& name, bool confirmOverwrite)
        : m_patterns(patterns), m_index(index), m_name(name), m_confirmOverwrite(confirmOverwrite)
    {
    }
    SaveAsShown(const SaveAsShown&) = delete;
    SaveAsShown& operator=(const SaveAsShown&) = delete;
    virtual ~SaveAsShown() = default;

    // The file chosen, once the dialog closed with a file.
    const QString& chosen() const { return m_chosen; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override
    {
        if (id == IID_IUnknown || id == IID_IFileDialogEvents) {
            *object = static_cast<IFileDialogEvents*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the stack for as long as the dialog: the count only has to balance.
    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override { return --m_references; }

    HRESULT STDMETHODCALLTYPE OnTypeChange(IFileDialog* dialog) override
    {
        UINT index = 0;
        PWSTR shown = nullptr;
        if (FAILED(dialog->GetFileTypeIndex(&index)) || FAILED(dialog->GetFileName(&shown)) || !shown)
            return S_OK;
        const QString now = QString::fromWCharArray(shown);
        CoTaskMemFree(shown);
        const auto patterns = [this](UINT at) { return at >= 1 && at <= UINT(m_patterns.size()) ? m_patterns[at - 1] : QString(); };
        if (index != m_index && now != m_name && now == renamedForType(m_name, patterns(m_index), patterns(index)))
            dialog->SetFileName(wide(m_name).c_str());
        else
            m_name = now;
        m_index = index;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFileOk(IFileDialog* dialog) override
    {
        PWSTR typed = nullptr;
        if (FAILED(dialog->GetFileName(&typed)) || !typed)
            return S_OK;
        QString path = QDir::fromNativeSeparators(QString::fromWCharArray(typed));
        CoTaskMemFree(typed);
        if (QDir::isRelativePath(path)) {
            Com<IShellItem> folder;
            if (FAILED(dialog->GetFolder(folder.put())))
                return S_OK;
            path = QDir(filePath(folder.get())).filePath(path);
        }
        path = QDir::cleanPath(path);
        if (m_confirmOverwrite && QFileInfo::exists(path) && !replaceAllowed(dialog, path))
            return S_FALSE; // the dialog stays open
        m_chosen = path;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnFolderChanging(IFileDialog*, IShellItem*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnFolderChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnSelectionChange(IFileDialog*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnShareViolation(IFileDialog*, IShellItem*, FDE_SHAREVIOLATION_RESPONSE*) override
    {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE OnOverwrite(IFileDialog*, IShellItem*, FDE_OVERWRITE_RESPONSE*) override
    {
        return E_NOTIMPL;
    }

private:
    static bool replaceAllowed(IFileDialog* dialog, const QString& path)
    {
        HWND window = nullptr;
        Com<IOleWindow> ole;
        if (SUCCEEDED(dialog->QueryInterface(IID_PPV_ARGS(ole.put()))))
            ole->GetWindow(&window);
        const QString question = QStringLiteral("%1 は既に存在します。\n上書きしますか?")
                                     .arg(QFileInfo(path).fileName());
        return MessageBoxW(window, wide(question).c_str(), L"確認",
                           MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2)
               == IDYES;
    }

    QStringList m_patterns;
    UINT m_index;
    QString m_name;
    bool m_confirmOverwrite;
    QString m_chosen;
    ULONG m_references = 0;
};

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
        // Asked by SaveAsShown about the file that is written.
        options &= ~FOS_OVERWRITEPROMPT;
    } else {
        options |= FOS_FILEMUSTEXIST;
        if (request.multiSelect)
            options |= FOS_ALLOWMULTISELECT;
    }
    dialog->SetOptions(options);

    // The filters as given; no default extension, so the name is taken as shown (and a
    // switch of the file type is kept from renaming it, below).
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

    SaveAsShown saveAsShown(request.filterPatterns, UINT(request.filterIndex), request.fileName,
                            request.confirmOverwrite);
    DWORD advice = 0;
    const bool advised = save && SUCCEEDED(dialog->Advise(&saveAsShown, &advice));
    if (save && !advised)
        return std::nullopt;
    const HRESULT shown = dialog->Show(reinterpret_cast<HWND>(owner));
    if (advised)
        dialog->Unadvise(advice);
    if (FAILED(shown))
        return std::nullopt; // cancelled

    FileDialogAnswer answer;
    UINT index = 0;
    if (SUCCEEDED(dialog->GetFileTypeIndex(&index)) && index >= 1)
        answer.filterIndex = int(index);
    if (save) {
        answer.path = saveAsShown.chosen();
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
