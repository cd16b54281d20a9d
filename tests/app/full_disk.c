// Loaded with LD_PRELOAD: the folder FULL_DISK_FOLDER sits on a full disk. With
// FULL_DISK_FAILS=write (the default) the files in it take FULL_DISK_BYTES bytes in all
// (0 when unset), a write that would go further stops short there, and the next one fails
// with ENOSPC; with FULL_DISK_FAILS=fsync or close every write goes through and that call
// fails with ENOSPC instead, as on a network or overcommitted file system that reports the
// full disk late. Files elsewhere are left alone.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

static long long taken;

// Whether the descriptor is a file in the full folder.
static int isFull(int fd)
{
    const char *folder = getenv("FULL_DISK_FOLDER");
    if (!folder || !*folder)
        return 0;
    char link[64], path[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0)
        return 0;
    path[length] = '\0';
    const size_t size = strlen(folder);
    return strncmp(path, folder, size) == 0 && path[size] == '/';
}

static int fails(const char *call)
{
    const char *chosen = getenv("FULL_DISK_FAILS");
    return strcmp(chosen && *chosen ? chosen : "write", call) == 0;
}

ssize_t write(int fd, const void *data, size_t count)
{
    ssize_t (*next)(int, const void *, size_t) = dlsym(RTLD_NEXT, "write");
    if (count == 0 || !fails("write") || !isFull(fd))
        return next(fd, data, count);
    const char *bytes = getenv("FULL_DISK_BYTES");
    const long long room = (bytes ? atoll(bytes) : 0) - taken;
    if (room <= 0) {
        errno = ENOSPC;
        return -1;
    }
    const ssize_t written = next(fd, data, count < (size_t)room ? count : (size_t)room);
    if (written > 0)
        taken += written;
    return written;
}

int fsync(int fd)
{
    int (*next)(int) = dlsym(RTLD_NEXT, "fsync");
    const int result = next(fd);
    if (result == 0 && fails("fsync") && isFull(fd)) {
        errno = ENOSPC;
        return -1;
    }
    return result;
}

int close(int fd)
{
    int (*next)(int) = dlsym(RTLD_NEXT, "close");
    const int full = fails("close") && isFull(fd);
    const int result = next(fd);
    if (result == 0 && full) {
        errno = ENOSPC;
        return -1;
    }
    return result;
}
