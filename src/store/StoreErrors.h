#pragma once

#include "platform/AppError.h"

namespace store {

// Error numbers of the record store. The windows test only for NoCurrentRecord;
// the others reach the user through the error boxes with their own texts.
enum StoreErrorNumber : int {
    errOverflow = 6,                 // a number out of the field's range
    errTypeMismatch = 13,            // text that is no value of the field's type
    errUpdateWithoutAddNew = 3020,   // Update or CancelUpdate with no pending row
    errNoCurrentRecord = 3021,       // the operation needs a current row
    errDuplicateKey = 3022,          // a key or unique index would repeat
    errNullInKey = 3058,             // a key field left without a value
    errInvalidBookmark = 3159,       // a bookmark that names no row of the set
    errRowDeletedElsewhere = 3167,   // the row went from the file since it was read
    errRowChangedElsewhere = 3197,   // another writer changed the row during its edit
    errRelatedRecordsExist = 3200,   // a delete refused because other rows belong to the row
    errFileNotFound = 3024,          // the database file does not exist
    errDiskFull = 3026,              // no space left for the write
    errReadOnly = 3027,              // file or folder cannot be written
    errCannotOpen = 3049,            // damaged or truncated database file
    errSyntaxInExpression = 3077,    // a FindFirst criterion the store does not understand
    errTableNotFound = 3078,         // a record source names no table
    errSyntaxInQuery = 3131,         // a record source text the store does not understand
    errFieldTooSmall = 3163,         // text longer than the field's size
    errRelatedRecordRequired = 3201, // the owning row of a relation does not exist
    errLocked = 3218,                // another program holds the file
    errItemNotFound = 3265,          // no field, index or table of that name
    errNotADatabase = 3343,          // the file is not a database of this program
    errInvalidOperation = 3219,      // an operation not allowed in the current state
    errSchema = 3367,                // a definition that cannot be appended
    errIo = 3051,                    // any other failure of the file
};

// Throws the store's error with our own text.
[[noreturn]] inline void raise(int number, const QString& text) {
    throw platform::AppError(number, text);
}

} // namespace store
