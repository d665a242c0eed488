#include "ShimVfs.h"

#include <cerrno>
#include <random>
#include <sqlite3.h>
#include <unistd.h>

namespace crash::shim {

namespace {

struct ShimFile {
    sqlite3_file base;
    sqlite3_file* real; // follows this struct in the same allocation
};

sqlite3_vfs* realVfs = nullptr;
sqlite3_vfs shimVfs;
sqlite3_io_methods shimMethods;
bool installed = false;

int writeDelay = 0;
int writesLeft = -1; // -1: never fail
int failCode = SQLITE_OK;
int failErrno = 0;
int failures = 0;

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<ShimFile*>(file)->real;
}

void pause() {
    if (writeDelay <= 0)
        return;
    static std::minstd_rand random(unsigned(::getpid()));
    ::usleep(useconds_t(random() % unsigned(writeDelay + 1)));
}

bool failNow() {
    if (writesLeft < 0)
        return false;
    if (writesLeft > 0) {
        --writesLeft;
        return false;
    }
    ++failures;
    return true;
}

int shimClose(sqlite3_file* file) {
    const int rc = real(file)->pMethods ? real(file)->pMethods->xClose(real(file)) : SQLITE_OK;
    return rc;
}
int shimRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    return real(file)->pMethods->xRead(real(file), buffer, amount, offset);
}
int shimWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    pause();
    if (failNow()) {
        errno = failErrno; // as the system's own write would leave it
        return failCode;
    }
    return real(file)->pMethods->xWrite(real(file), buffer, amount, offset);
}
int shimTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return real(file)->pMethods->xTruncate(real(file), size);
}
int shimSync(sqlite3_file* file, int flags) {
    pause();
    return real(file)->pMethods->xSync(real(file), flags);
}
int shimFileSize(sqlite3_file* file, sqlite3_int64* size) {
    return real(file)->pMethods->xFileSize(real(file), size);
}
int shimLock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xLock(real(file), level);
}
int shimUnlock(sqlite3_file* file, int level) {
    return real(file)->pMethods->xUnlock(real(file), level);
}
int shimCheckReservedLock(sqlite3_file* file, int* out) {
    return real(file)->pMethods->xCheckReservedLock(real(file), out);
}
int shimFileControl(sqlite3_file* file, int op, void* arg) {
    return real(file)->pMethods->xFileControl(real(file), op, arg);
}
int shimSectorSize(sqlite3_file* file) {
    return real(file)->pMethods->xSectorSize(real(file));
}
int shimDeviceCharacteristics(sqlite3_file* file) {
    return real(file)->pMethods->xDeviceCharacteristics(real(file));
}
int shimShmMap(sqlite3_file* file, int page, int size, int extend, void volatile** out) {
    return real(file)->pMethods->xShmMap(real(file), page, size, extend, out);
}
int shimShmLock(sqlite3_file* file, int offset, int n, int flags) {
    return real(file)->pMethods->xShmLock(real(file), offset, n, flags);
}
void shimShmBarrier(sqlite3_file* file) {
    real(file)->pMethods->xShmBarrier(real(file));
}
int shimShmUnmap(sqlite3_file* file, int deleteFlag) {
    return real(file)->pMethods->xShmUnmap(real(file), deleteFlag);
}
int shimFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** out) {
    return real(file)->pMethods->xFetch(real(file), offset, amount, out);
}
int shimUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return real(file)->pMethods->xUnfetch(real(file), offset, page);
}

int shimOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* shim = reinterpret_cast<ShimFile*>(file);
    shim->real = reinterpret_cast<sqlite3_file*>(shim + 1);
    shim->real->pMethods = nullptr;
    const int rc = realVfs->xOpen(realVfs, name, shim->real, flags, outFlags);
    // SQLite calls xClose whenever pMethods is set, also after a failed open.
    file->pMethods = shim->real->pMethods ? &shimMethods : nullptr;
    if (shim->real->pMethods)
        shimMethods.iVersion = shim->real->pMethods->iVersion;
    return rc;
}

int shimGetLastError(sqlite3_vfs*, int size, char* out) {
    if (failures > 0 && failErrno != 0)
        return failErrno;
    return realVfs->xGetLastError ? realVfs->xGetLastError(realVfs, size, out) : 0;
}

} // namespace

void install() {
    if (installed)
        return;
    realVfs = sqlite3_vfs_find(nullptr);
    shimVfs = *realVfs;
    shimVfs.zName = "drivolex_test_shim";
    shimVfs.szOsFile = int(sizeof(ShimFile)) + realVfs->szOsFile;
    shimVfs.xOpen = shimOpen;
    shimVfs.xGetLastError = shimGetLastError;
    shimVfs.pNext = nullptr;
    shimMethods = sqlite3_io_methods{3,
                                     shimClose,
                                     shimRead,
                                     shimWrite,
                                     shimTruncate,
                                     shimSync,
                                     shimFileSize,
                                     shimLock,
                                     shimUnlock,
                                     shimCheckReservedLock,
                                     shimFileControl,
                                     shimSectorSize,
                                     shimDeviceCharacteristics,
                                     shimShmMap,
                                     shimShmLock,
                                     shimShmBarrier,
                                     shimShmUnmap,
                                     shimFetch,
                                     shimUnfetch};
    sqlite3_vfs_register(&shimVfs, 1);
    installed = true;
}

void uninstall() {
    if (!installed)
        return;
    sqlite3_vfs_unregister(&shimVfs);
    sqlite3_vfs_register(realVfs, 1);
    installed = false;
    stopFailing();
    writeDelay = 0;
}

void setWriteDelay(int longestMicroseconds) {
    writeDelay = longestMicroseconds;
}

void failWritesAfter(int left, int code, int systemErrno) {
    writesLeft = left;
    failCode = code;
    failErrno = systemErrno;
    failures = 0;
}

void stopFailing() {
    writesLeft = -1;
    failCode = SQLITE_OK;
    failErrno = 0;
}

int failedWrites() {
    return failures;
}

} // namespace crash::shim
