#pragma once

#include "exchange/ImportedRows.h"

#include <QString>

// One reader per format; readImportFile picks among them by the format's id.
namespace exchange {

ImportedFile readFuellyWebFile(const QString& path);
ImportedFile readACarFile(const QString& path);
ImportedFile readFuelioFile(const QString& path);
ImportedFile readLubeLoggerFile(const QString& path);   // gas, service or supplies records
ImportedFile readSpritmonitorFile(const QString& path); // fuelings or costs
ImportedFile readDrivvoFile(const QString& path);

// The section markers detection knows the files by.
bool isACarBlockName(const QString& name);         // "Fill-Up Records", any letter case
bool isDrivvoSectionMarker(const QString& marker); // "##Refuelling", "#Reabastecimiento"

} // namespace exchange
