// A file replaced through a checked temporary file (see checked_file.h).
#include "checked_file.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string Reason(const char* what, const std::string& file) {
    return std::string(what) + " " + file + ": " + strerror(errno);
}

// Every byte or false; retries short and interrupted writes.
bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += n;
        size -= (size_t)n;
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

// The file about to be replaced becomes NAME.bak: a second link to it, renamed
// into place, so there is never a moment without either file.
void KeepBackup(const std::string& path) {
    std::string backup = path + ".bak";
    std::string link = backup + ".saving~";
    remove(link.c_str());
    if (::link(path.c_str(), link.c_str()) != 0) return; // no old file yet
    if (rename(link.c_str(), backup.c_str()) != 0) remove(link.c_str());
}

// A file-size limit must fail the write (EFBIG), not kill the program mid-save.
struct IgnoreFileSizeSignal {
    struct sigaction previous;
    IgnoreFileSizeSignal() {
        struct sigaction ignore = {};
        ignore.sa_handler = SIG_IGN;
        sigemptyset(&ignore.sa_mask);
        sigaction(SIGXFSZ, &ignore, &previous);
    }
    ~IgnoreFileSizeSignal() { sigaction(SIGXFSZ, &previous, nullptr); }
};

// The file a save really replaces: links followed (relative ones from their own
// folder), so the link stays and its target gets the new content.
std::string ResolveLinks(const std::string& path) {
    std::string target = path;
    for (int hops = 0; hops < 40; hops++) {
        struct stat info;
        if (lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
        std::vector<char> buffer((size_t)info.st_size + 256);
        ssize_t n = readlink(target.c_str(), buffer.data(), buffer.size());
        if (n <= 0 || (size_t)n >= buffer.size()) break;
        std::string next(buffer.data(), (size_t)n);
        target = next[0] == '/' ? next : FolderOf(target) + "/" + next;
    }
    return target;
}

// The replaced file's mode, and its owner and group where we may set them.
void KeepIdentity(int fd, const struct stat& old) {
    if (fchown(fd, old.st_uid, old.st_gid) != 0 && fchown(fd, (uid_t)-1, old.st_gid) != 0) {
        // Not permitted: the file becomes ours, as any new file would.
    }
    fchmod(fd, old.st_mode & 07777);
}

// What open(..., 0666) would give: mkstemp makes its file 0600.
mode_t NewFileMode() {
    mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

} // namespace

bool ReplaceFileChecked(const char* path, const char* data, size_t size, bool keepBackup, std::string& error) {
    const std::string target = ResolveLinks(path);
    // A fresh name made by mkstemp (O_EXCL) beside the real file: whatever already
    // lies there, a planted link included, is never opened.
    std::string temporary = target + ".saving~XXXXXX";
    IgnoreFileSizeSignal noSignal;
    int fd = mkostemp(&temporary[0], O_CLOEXEC);
    if (fd < 0) {
        error = Reason("Could not open file", temporary);
        return false;
    }
    struct stat old;
    if (stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        KeepIdentity(fd, old);
    else
        fchmod(fd, NewFileMode());
    bool ok = WriteAll(fd, data, size);
    if (!ok) error = Reason("Could not write to file", temporary);
    if (ok && fsync(fd) != 0) {
        error = Reason("Could not flush file", temporary);
        ok = false;
    }
    if (close(fd) != 0 && ok) {
        error = Reason("Could not close file", temporary);
        ok = false;
    }
    if (ok) {
        if (keepBackup) KeepBackup(target);
        if (rename(temporary.c_str(), target.c_str()) != 0) {
            error = Reason("Could not replace", target);
            ok = false;
        }
    }
    if (!ok) {
        unlink(temporary.c_str());
        return false;
    }
    // The rename itself must reach the disk before the save counts as done.
    int folder = open(FolderOf(target).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        fsync(folder);
        close(folder);
    }
    return true;
}
