#pragma once

#include "BenchFile.h"
#include "Report.h"

#include <string>
#include <vector>

namespace bench {

// Where the figures are measured: a filled file and a folder for scratch copies.
struct BenchSetup {
    std::string folder;
    std::string file;
    FileShape shape;
    int rounds = 15; // samples of each side per figure
};

// Each measures ours against raw SQLite in turns, on the same file (the delete on
// two copies of it, so that both remove the same rows).
Figure openAndMoveLast(const BenchSetup& setup);
Figure movePreviousAndRead(const BenchSetup& setup);
Figure updateOneField(const BenchSetup& setup);
Figure findFirstByKey(const BenchSetup& setup);
Figure findFirstAfterOpening(const BenchSetup& setup);
Figure deleteVehicleCascading(const BenchSetup& setup);
Figure memoryPerRow(const BenchSetup& setup);
Figure createDatabase(const BenchSetup& setup);
// The cost of the extra folder sync of a commit: one Update with EXTRA syncs (ours)
// against FULL (raw), on a disk folder and on tmpfs.
Figure updateSyncCostOnDisk(const BenchSetup& setup);
Figure updateSyncCostOnTmpfs(const BenchSetup& setup);
// The checks a file passes when it is taken into use, on the whole bench file.
Figure takeFileIntoUse(const BenchSetup& setup);
// A vehicle's delete with its rows kept for undo, and the undo, against raw SQLite
// copying the same rows aside and back (UndoFigures.cpp).
std::vector<Figure> deleteAndUndoVehicle(const BenchSetup& setup);

} // namespace bench
