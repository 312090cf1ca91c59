#include "lib/atomic_file.h"

#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <openssl/rand.h>

#include "lib/error.h"

namespace bw::atomic_file {

namespace {

[[noreturn]] void fail(const char *verb, const std::string &path, int err) {
    throw Error(std::string("cannot ") + verb + " " + path + ": " + std::strerror(err));
}

std::string folder_of(const std::string &path) {
    auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string random_suffix() {
    unsigned char b[6];
    if (RAND_bytes(b, sizeof b) != 1) {
        // Any name will do: O_EXCL below refuses to reuse an existing file.
        auto v = static_cast<unsigned long>(::getpid()) ^ reinterpret_cast<uintptr_t>(&b);
        std::memcpy(b, &v, sizeof b < sizeof v ? sizeof b : sizeof v);
    }
    static const char digits[] = "0123456789abcdef";
    std::string s;
    for (unsigned char c : b) {
        s.push_back(digits[c >> 4]);
        s.push_back(digits[c & 0xf]);
    }
    return s;
}

bool write_all(int fd, std::string_view data) {
    while (!data.empty()) {
        ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

}  // namespace

std::string read(const std::string &path) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) fail("read", path, errno);
    std::string out;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        fail("read", path, EISDIR);
    }
    if (st.st_size > 0) out.reserve(static_cast<size_t>(st.st_size));
    char buf[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buf, sizeof buf);
        if (n < 0) {
            if (errno == EINTR) continue;
            int err = errno;
            ::close(fd);
            fail("read", path, err);
        }
        if (n == 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fd);
    return out;
}

void write(const std::string &path, std::initializer_list<std::string_view> parts) {
    if (path.empty() || path.back() == '/') fail("write", path, EISDIR);
    const std::string folder = folder_of(path);
    const auto slash = path.find_last_of('/');
    // Short enough that the temporary name stays within the file system's name limit.
    const std::string base = path.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, 200);

    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        temp = (folder == "/" ? std::string("/") : folder + "/") + "." + base + ".tmp-" + random_suffix();
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) fail("write", path, errno);
    }
    if (fd < 0) fail("write", path, EEXIST);

    int err = 0;
    for (std::string_view part : parts)
        if (!write_all(fd, part)) {
            err = errno;
            break;
        }
    if (!err && ::fsync(fd) != 0) err = errno;
    if (::close(fd) != 0 && !err) err = errno;
    if (!err && ::rename(temp.c_str(), path.c_str()) != 0) err = errno;
    if (err) {
        ::unlink(temp.c_str());
        fail("write", path, err);
    }
    // The folder is not synced: the rename is atomic either way, and a crash right after it
    // leaves the old file or the complete new one.
}

}  // namespace bw::atomic_file
