#include "settings/FileText.h"

#include <atomic>
#include <cerrno>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }
    // Closes now; false when the close reports a failed write.
    bool close() {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_fd;
};

bool writeAll(int fd, std::string_view content) {
    while (!content.empty()) {
        const ssize_t written = ::write(fd, content.data(), content.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        content.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// A temporary name beside path that no other writer of this process or another uses.
std::filesystem::path temporaryPath(const std::filesystem::path& path) {
    static std::atomic<unsigned> counter{0};
    std::filesystem::path temp = path;
    temp.replace_filename("." + path.filename().string() + "." + std::to_string(::getpid()) + "." +
                          std::to_string(counter++) + ".tmp");
    return temp;
}

// The file a symbolic link points to, so that replacing it keeps the link; the path itself
// when it is no link or a dangling one.
std::filesystem::path resolvedTarget(const std::filesystem::path& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(std::filesystem::symlink_status(path, error))) {
        std::filesystem::path target = std::filesystem::canonical(path, error);
        if (!error) {
            return target;
        }
    }
    return path;
}

} // namespace

std::optional<std::string> FileText::readAll(const std::filesystem::path& path) {
    // Non-blocking, so that opening a pipe cannot wait for a writer.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (file.get() < 0) {
        return std::nullopt;
    }
    struct stat info {};
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[chunkBytes];
    for (;;) {
        const ssize_t got = ::read(file.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return std::nullopt;
        }
        if (got == 0) {
            return bytes;
        }
        // A file that grows while it is read is still cut off at the bound.
        if (bytes.size() + static_cast<std::size_t>(got) > maxBytes) {
            return std::nullopt;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string FileText::textOfChunks(std::string_view bytes) {
    std::string text;
    for (std::size_t start = 0; start < bytes.size(); start += chunkBytes) {
        const std::string_view chunk = bytes.substr(start, chunkBytes);
        text.append(chunk.substr(0, chunk.find('\0')));
    }
    return text;
}

bool FileText::replaceWhole(const std::filesystem::path& linkOrPath, std::string_view content,
                            mode_t newFileMode) {
    const std::filesystem::path path = resolvedTarget(linkOrPath);
    // A file that could not be opened for writing in place is not replaced either, so that a
    // file made read-only by its owner stays as it is.
    if (::access(path.c_str(), F_OK) == 0 && ::access(path.c_str(), W_OK) != 0) {
        return false;
    }
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = temporaryPath(path);
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, newFileMode);
        if (fd < 0 && errno != EEXIST) {
            return false;
        }
    }
    if (fd < 0) {
        return false;
    }
    Descriptor file(fd);
    struct stat old {};
    bool ok = true;
    if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ok = ::fchmod(file.get(), old.st_mode & 07777) == 0;
    }
    ok = ok && writeAll(file.get(), content) && ::fsync(file.get()) == 0;
    ok = file.close() && ok;
    ok = ok && ::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
    }
    return ok;
}
