#pragma once

namespace store {

// Field type codes of the record store.
enum class FieldType : int {
    Boolean = 1,  // stored as -1 (true) and 0
    Integer = 3,  // 16-bit signed
    Long = 4,     // 32-bit signed
    Currency = 5, // fixed point, four decimals, stored as a scaled integer
    Single = 6,   // 32-bit floating point
    Date = 8,     // date and time
    Text = 10,    // text of at most `size` characters
    Memo = 12,    // unbounded text
};

// Field attribute: the store assigns a new, positive, never reused key on save.
inline constexpr int dbAutoIncrField = 16;

// Relation attributes (a bit set).
inline constexpr int dbRelationUnique = 1;
inline constexpr int dbRelationDontEnforce = 2;
inline constexpr int dbRelationUpdateCascade = 256;
inline constexpr int dbRelationDeleteCascade = 4096;

// Edit modes of a record set.
enum class EditMode : int { None = 0, Edit = 1, AddNew = 2 };

// The locale of a new database: general sort order, text compared without case.
inline constexpr const char* dbLangGeneral = ";LANGID=0x0409;CP=1252;COUNTRY=0";

} // namespace store
