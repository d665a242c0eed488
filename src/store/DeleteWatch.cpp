#include "DeleteWatch.h"

namespace store {

namespace {

DeleteWatcher& watcher() {
    static DeleteWatcher current;
    return current;
}

} // namespace

void setDeleteWatcher(DeleteWatcher next) {
    watcher() = std::move(next);
}

AfterDelete rowAboutToGo(const RowAboutToGo& row) {
    return watcher() ? watcher()(row) : AfterDelete();
}

} // namespace store
