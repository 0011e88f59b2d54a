// One way to write a file: complete or not at all. The bytes go into a short-named temporary
// beside the target, are flushed to the disk and renamed over the target, so a failure at any
// point leaves the old file as it was and no temporary behind.
#pragma once

#include <sys/types.h>

#include <cstddef>
#include <string>
#include <string_view>

namespace zeigora {

// The system calls through which the bytes reach the disk. Tests put in failing ones to see a
// full disk or a refused rename; the program never changes them.
struct TSaveSystemCalls {
    ssize_t (*Write)(int fd, const void* data, std::size_t size);
    int (*Fsync)(int fd);
    int (*Rename)(const char* from, const char* to);
};
TSaveSystemCalls& SaveSystemCalls();

// Replaces the contents of fileName (native bytes) by bytes; returns 0 or the errno of the
// failing step.
// - A symbolic link stays a link: the file it points to is replaced (created if missing).
// - The replacement keeps the permissions of the file it replaces (a new file gets what the
//   umask allows); a file that open() would refuse for writing is refused with its reason.
// - Devices and pipes (/dev/stdout, /dev/null) cannot be replaced and are written in place.
int SaveFileSafely(const std::string& fileName, std::string_view bytes);

}  // namespace zeigora
