#pragma once

// A layer over SQLite's default file system that can hold writes back for a
// moment (so that a kill lands inside a commit more often) or fail them the way a
// full disk or a file that became read-only does. Installed as the default, so
// the record store's connections use it without knowing.
namespace crash::shim {

// Registers the layer as SQLite's default file system (once per process).
void install();
// Removes it again; no connection may be open on it.
void uninstall();

// Every write and sync first waits up to this long, in microseconds (0: not at all).
void setWriteDelay(int longestMicroseconds);

// After `writesLeft` more writes succeed, every write fails with SQLite's result
// `code`, and the system error number SQLite asks for is `systemErrno`.
void failWritesAfter(int writesLeft, int code, int systemErrno);
void stopFailing();
// Writes that failed since failWritesAfter.
int failedWrites();

} // namespace crash::shim
