// Loaded with LD_PRELOAD: the folder FULL_DISK_FOLDER sits on a disk that reports itself full
// late, as a network or overcommitted file system does: every write goes through, and then
// the call FULL_DISK_FAILS names (fsync or close) fails with ENOSPC. Files elsewhere are left
// alone.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

// Whether CALL is the one to fail and the descriptor is a file in the full folder.
static int fails(const char *call, int fd)
{
    const char *folder = getenv("FULL_DISK_FOLDER"), *chosen = getenv("FULL_DISK_FAILS");
    if (!folder || !*folder || !chosen || strcmp(chosen, call) != 0)
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

// The call's result, made a failure for lack of room when the call is the one to fail.
static int late(int result, int full)
{
    if (result == 0 && full) {
        errno = ENOSPC;
        return -1;
    }
    return result;
}

int fsync(int fd)
{
    const int full = fails("fsync", fd);
    return late(((int (*)(int))dlsym(RTLD_NEXT, "fsync"))(fd), full);
}

int close(int fd)
{
    const int full = fails("close", fd); // before the descriptor's name goes with it
    return late(((int (*)(int))dlsym(RTLD_NEXT, "close"))(fd), full);
}
