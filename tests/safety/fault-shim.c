// Loaded with LD_PRELOAD into a program under test: makes the k-th call of one chosen function fail with a
// chosen errno, or kills the process just before or just after it. Only calls that touch the folders in
// TESSARY_FAULT_PATHS count, so that loading libraries or writing to a terminal never does.
//   TESSARY_FAULT_PATHS     folders, separated by ':'
//   TESSARY_FAULT_FUNCTION  renameat2, rename, link, unlink, openat, write, fdatasync or fsync
//   TESSARY_FAULT_CALL      k, counted from 1
//   TESSARY_FAULT_ACTION    EIO, ENOSPC, EACCES, EPERM, kill-before or kill-after
//   TESSARY_FAULT_COUNTS    a file that receives, at exit, how often each function was called
//   TESSARY_FAULT_NO_NOREPLACE=1  behave like a file system with neither RENAME_NOREPLACE nor hard links
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

enum { renameat2Call, renameCall, linkCall, unlinkCall, openatCall, writeCall, fdatasyncCall, fsyncCall, callKinds };
static const char* const callNames[callKinds] = {"renameat2", "rename", "link", "unlink",
                                                 "openat", "write", "fdatasync", "fsync"};

static long counts[callKinds];
static int chosen = -1;
static long chosenCall;
static int failWith;     // an errno, or 0 with killBefore/killAfter
static int killBefore, killAfter, noNoReplace;
static char paths[4096];
static char tracked[65536]; // descriptors opened on a watched path

static int errnoNamed(const char* name)
{
    static const struct {
        const char* name;
        int value;
    } table[] = {{"EIO", EIO}, {"ENOSPC", ENOSPC}, {"EACCES", EACCES}, {"EPERM", EPERM}};
    for (size_t i = 0; i < sizeof table / sizeof table[0]; ++i)
        if (strcmp(table[i].name, name) == 0)
            return table[i].value;
    return 0;
}

__attribute__((constructor)) static void setUp(void)
{
    const char* watched = getenv("TESSARY_FAULT_PATHS");
    if (watched)
        snprintf(paths, sizeof paths, "%s", watched);
    const char* function = getenv("TESSARY_FAULT_FUNCTION");
    for (int i = 0; function && i < callKinds; ++i)
        if (strcmp(function, callNames[i]) == 0)
            chosen = i;
    const char* call = getenv("TESSARY_FAULT_CALL");
    chosenCall = call ? atol(call) : 0;
    const char* action = getenv("TESSARY_FAULT_ACTION");
    if (action) {
        killBefore = strcmp(action, "kill-before") == 0;
        killAfter = strcmp(action, "kill-after") == 0;
        failWith = errnoNamed(action);
    }
    const char* emulate = getenv("TESSARY_FAULT_NO_NOREPLACE");
    noNoReplace = emulate && strcmp(emulate, "1") == 0;
}

__attribute__((destructor)) static void report(void)
{
    const char* file = getenv("TESSARY_FAULT_COUNTS");
    if (!file)
        return;
    FILE* out = fopen(file, "w");
    if (!out)
        return;
    for (int i = 0; i < callKinds; ++i)
        fprintf(out, "%s %ld\n", callNames[i], counts[i]);
    fclose(out);
}

static int isWatched(const char* path)
{
    if (!path || !paths[0])
        return 0;
    for (const char* start = paths; *start;) {
        const char* end = strchr(start, ':');
        const size_t length = end ? (size_t)(end - start) : strlen(start);
        if (length > 0 && strncmp(path, start, length) == 0 && (path[length] == '/' || path[length] == 0))
            return 1;
        if (!end)
            break;
        start = end + 1;
    }
    return 0;
}

static int isTracked(int descriptor)
{
    return descriptor >= 0 && descriptor < (int)sizeof tracked && tracked[descriptor];
}

// Counts a watched call; 0 to go on with the real call, -1 (errno set) when this one fails.
static int before(int kind)
{
    if (++counts[kind] != chosenCall || kind != chosen)
        return 0;
    if (killBefore)
        raise(SIGKILL);
    if (failWith) {
        errno = failWith;
        return -1;
    }
    return 0;
}

static void after(int kind)
{
    if (kind == chosen && counts[kind] == chosenCall && killAfter)
        raise(SIGKILL);
}

#define REAL(name, type) static type real_##name; if (!real_##name) real_##name = (type)dlsym(RTLD_NEXT, #name)

int renameat2(int fromFolder, const char* from, int toFolder, const char* to, unsigned int flags)
{
    typedef int (*fn)(int, const char*, int, const char*, unsigned int);
    REAL(renameat2, fn);
    // A move within a folder held open names only the entries, relative to that folder.
    if (!isWatched(from) && !isWatched(to) && !isTracked(fromFolder) && !isTracked(toFolder))
        return real_renameat2(fromFolder, from, toFolder, to, flags);
    if (before(renameat2Call))
        return -1;
    if (noNoReplace && flags) {
        errno = EINVAL;
        return -1;
    }
    const int result = real_renameat2(fromFolder, from, toFolder, to, flags);
    after(renameat2Call);
    return result;
}

int rename(const char* from, const char* to)
{
    typedef int (*fn)(const char*, const char*);
    REAL(rename, fn);
    if (!isWatched(from) && !isWatched(to))
        return real_rename(from, to);
    if (before(renameCall))
        return -1;
    const int result = real_rename(from, to);
    after(renameCall);
    return result;
}

int link(const char* from, const char* to)
{
    typedef int (*fn)(const char*, const char*);
    REAL(link, fn);
    if (!isWatched(from) && !isWatched(to))
        return real_link(from, to);
    if (before(linkCall))
        return -1;
    if (noNoReplace) {
        errno = EPERM;
        return -1;
    }
    const int result = real_link(from, to);
    after(linkCall);
    return result;
}

int unlink(const char* path)
{
    typedef int (*fn)(const char*);
    REAL(unlink, fn);
    if (!isWatched(path))
        return real_unlink(path);
    if (before(unlinkCall))
        return -1;
    const int result = real_unlink(path);
    after(unlinkCall);
    return result;
}

static int openWatched(int folder, const char* path, int flags, mode_t mode)
{
    typedef int (*fn)(int, const char*, int, ...);
    REAL(openat, fn);
    if (!isWatched(path))
        return real_openat(folder, path, flags, mode);
    if (before(openatCall))
        return -1;
    const int descriptor = real_openat(folder, path, flags, mode);
    if (descriptor >= 0 && descriptor < (int)sizeof tracked)
        tracked[descriptor] = 1;
    after(openatCall);
    return descriptor;
}

static mode_t modeArgument(int flags, va_list arguments)
{
    return (flags & O_CREAT) || (flags & __O_TMPFILE) == __O_TMPFILE ? (mode_t)va_arg(arguments, int) : 0;
}

#define COMMA ,
// open, open64, openat and openat64 all end in openWatched.
#define OPEN_WRAPPER(name, folderParameter, folderValue)                                                      \
    int name(folderParameter const char* path, int flags, ...)                                                \
    {                                                                                                          \
        va_list arguments;                                                                                     \
        va_start(arguments, flags);                                                                            \
        const mode_t mode = modeArgument(flags, arguments);                                                    \
        va_end(arguments);                                                                                     \
        return openWatched(folderValue, path, flags, mode);                                                    \
    }
OPEN_WRAPPER(open, , AT_FDCWD)
OPEN_WRAPPER(open64, , AT_FDCWD)
OPEN_WRAPPER(openat, int folder COMMA, folder)
OPEN_WRAPPER(openat64, int folder COMMA, folder)

int close(int descriptor)
{
    typedef int (*fn)(int);
    REAL(close, fn);
    if (descriptor >= 0 && descriptor < (int)sizeof tracked)
        tracked[descriptor] = 0;
    return real_close(descriptor);
}

ssize_t write(int descriptor, const void* bytes, size_t count)
{
    typedef ssize_t (*fn)(int, const void*, size_t);
    REAL(write, fn);
    if (!isTracked(descriptor))
        return real_write(descriptor, bytes, count);
    if (before(writeCall))
        return -1;
    const ssize_t result = real_write(descriptor, bytes, count);
    after(writeCall);
    return result;
}

static int syncCall(int kind, int descriptor, int (*real)(int))
{
    if (!isTracked(descriptor))
        return real(descriptor);
    if (before(kind))
        return -1;
    const int result = real(descriptor);
    after(kind);
    return result;
}

int fdatasync(int descriptor)
{
    typedef int (*fn)(int);
    REAL(fdatasync, fn);
    return syncCall(fdatasyncCall, descriptor, real_fdatasync);
}

int fsync(int descriptor)
{
    typedef int (*fn)(int);
    REAL(fsync, fn);
    return syncCall(fsyncCall, descriptor, real_fsync);
}
