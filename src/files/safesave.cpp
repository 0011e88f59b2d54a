#include "files/safesave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <vector>

namespace zeigora {

namespace {

constexpr int MaxLinkHops = 40;  // as the kernel allows

// errno of a call that failed without setting it.
int LastError() {
    return errno != 0 ? errno : EIO;
}

// The target of the symbolic link at path, relative targets taken from the link's folder.
int ReadLink(const std::string& path, std::string& target) {
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t n = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0) return LastError();
        if (static_cast<std::size_t>(n) < buffer.size()) {
            target.assign(buffer.data(), static_cast<std::size_t>(n));
            break;
        }
        buffer.resize(buffer.size() * 2);
    }
    const std::size_t slash = path.rfind('/');
    if (!target.empty() && target[0] != '/' && slash != std::string::npos)
        target = path.substr(0, slash + 1) + target;
    return 0;
}

// Follows symbolic links to the file they name, which need not exist yet.
int ResolveLinks(std::string& path) {
    for (int hop = 0; hop < MaxLinkHops; ++hop) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return 0;
        std::string target;
        if (const int e = ReadLink(path, target)) return e;
        path = target;
    }
    return ELOOP;
}

std::string TempTemplateBeside(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    // Short, so that a target name near the 255-byte limit still has a temporary.
    const std::string name = ".zg-XXXXXX";
    return slash == std::string::npos ? name : path.substr(0, slash + 1) + name;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

mode_t ModeForNewFile() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

int WriteAll(int fd, std::string_view bytes) {
    const char* p = bytes.data();
    std::size_t left = bytes.size();
    while (left > 0) {
        errno = 0;
        const ssize_t n = SaveSystemCalls().Write(fd, p, left);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return LastError();
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return 0;
}

// Closes fd; returns the first error of the pending one and the close.
int Close(int fd, int error) {
    if (::close(fd) != 0 && error == 0) return LastError();
    return error;
}

int WriteInPlace(const std::string& path, std::string_view bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return LastError();
    return Close(fd, WriteAll(fd, bytes));
}

// The new file's mode, owner and group: those of the file it replaces, if there is one.
struct TTargetFile {
    bool Exists = false;
    struct stat Status {};
};

// Refuses an existing target exactly as opening it for writing would be refused.
int CheckTarget(const std::string& target, TTargetFile& file) {
    if (::stat(target.c_str(), &file.Status) != 0) return errno == ENOENT ? 0 : LastError();
    file.Exists = true;
    if (S_ISDIR(file.Status.st_mode)) return EISDIR;
    const int probe = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (probe < 0) return LastError();
    ::close(probe);
    return 0;
}

int WriteTemp(int fd, std::string_view bytes, const TTargetFile& file) {
    if (const int e = WriteAll(fd, bytes)) return e;
    const mode_t mode = file.Exists ? file.Status.st_mode & 07777 : ModeForNewFile();
    if (::fchmod(fd, mode) != 0) return LastError();
    // Only root may give the file away; anyone else keeps the group where allowed.
    if (file.Exists && (file.Status.st_uid != ::geteuid() || file.Status.st_gid != ::getegid()))
        (void)::fchown(fd, file.Status.st_uid, file.Status.st_gid);
    errno = 0;
    if (SaveSystemCalls().Fsync(fd) != 0) return LastError();
    return 0;
}

// A crash right after the rename must not bring back the old file.
void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

TSaveSystemCalls& SaveSystemCalls() {
    static TSaveSystemCalls calls{::write, ::fsync, ::rename};
    return calls;
}

int SaveFileSafely(const std::string& fileName, std::string_view bytes) {
    if (fileName.empty()) return ENOENT;
    struct stat st {};
    if (::stat(fileName.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISDIR(st.st_mode))
        return WriteInPlace(fileName, bytes);
    std::string target = fileName;
    if (const int e = ResolveLinks(target)) return e;
    TTargetFile file;
    if (const int e = CheckTarget(target, file)) return e;

    std::string temp = TempTemplateBeside(target);
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) return LastError();
    int error = Close(fd, WriteTemp(fd, bytes, file));
    if (error == 0) {
        errno = 0;
        if (SaveSystemCalls().Rename(temp.c_str(), target.c_str()) != 0) error = LastError();
    }
    if (error != 0) {
        ::unlink(temp.c_str());
        return error;
    }
    SyncFolder(target);
    return 0;
}

}  // namespace zeigora
