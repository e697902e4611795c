#pragma once

// The files a save opens and makes: descriptors, the editor's own files beside a saved
// file with the tags in their names, and whole-content writes and reads.

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>

namespace platform::save {

std::error_code errorOf(int code);
// The error errno holds, EIO where a failed call left none.
std::error_code lastError();

// A descriptor closed when it goes out of scope.
class Descriptor final {
public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    Descriptor(Descriptor&& other) noexcept : m_fd(other.take()) {}

    int get() const { return m_fd; }
    explicit operator bool() const { return m_fd >= 0; }
    void reset(int fd = -1);
    int take() { return std::exchange(m_fd, -1); }
    // Closes and reports whether the close went well: NFS reports write errors here.
    bool close();

private:
    int m_fd;
};

// A file of our own making, removed when it goes out of scope unless released. It stays
// locked (flock) until then, through a second descriptor, so that another save into the
// folder never takes it for a leftover while this one is at work, even after its first
// descriptor was closed to see the close succeed.
class OwnFile final {
public:
    OwnFile() = default;
    OwnFile(std::string path, int fd);
    ~OwnFile() { remove(); }
    OwnFile(OwnFile&& other) noexcept
        : m_path(std::exchange(other.m_path, {})), m_fd(other.m_fd.take()), m_lock(other.m_lock.take())
    {
    }
    OwnFile& operator=(OwnFile&& other) noexcept
    {
        remove();
        m_path = std::exchange(other.m_path, {});
        m_fd.reset(other.m_fd.take());
        m_lock.reset(other.m_lock.take());
        return *this;
    }

    explicit operator bool() const { return !m_path.empty(); }
    const std::string& path() const { return m_path; }
    void setPath(std::string path) { m_path = std::move(path); }
    Descriptor& fd() { return m_fd; }
    void remove();
    // The file lives on: renamed into place, or kept as the only copy of old content.
    void release();

private:
    std::string m_path;
    Descriptor m_fd;
    Descriptor m_lock;
};

// The editor's own files beside a saved file carry a tag of their inode number in their
// name: ".zq-save-TTTTTTTT" while a save is at work, "NAME~TTTTTTTTCCCCCCCC" for the old
// content of NAME while it is written in place (CCCCCCCC tags the new content). A file
// left behind by a killed save is thereby told apart from any file of the user's, even
// one named alike: a copy, or another file moved to that name, has another inode.
constexpr std::string_view kTempPrefix = ".zq-save-";
constexpr std::size_t kTagSize = 8;
constexpr std::size_t kBackupSuffixSize = 1 + 2 * kTagSize;

std::uint64_t hashBytes(std::string_view bytes, std::uint64_t hash = 14695981039346656037ULL);
std::string tagOf(std::uint64_t hash);
std::string inodeTag(ino_t inode);

// A new file in `folder` that did not exist before, opened for writing, locked, and named
// ".zq-save-" with its inode's tag. It is made under a random name and renamed at once;
// should that fail, it keeps the random name, which works as well but is not recognised
// later.
OwnFile createOwnFile(const std::string& folder, mode_t mode, std::error_code& error);

// Makes a file's data and its name durable. A folder that cannot be synced (some file
// systems refuse) is no reason to call a written file lost.
void syncFolder(const std::string& folder);

// Removes what killed saves of this user left in the folder (SaveLeftovers_unix.cpp).
void removeLeftovers(const std::string& folder);

// Writes all of `bytes` at `offset`, going on after short writes; a write that makes no
// progress is an error, so a full disk is never taken for success.
bool writeAll(int fd, std::string_view bytes, off_t offset);

// The whole content of an open file, read from its start.
std::optional<std::string> readAll(int fd, off_t sizeHint, std::error_code& error);

} // namespace platform::save
