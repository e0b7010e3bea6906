#pragma once

#include <QString>

namespace marvolt {

// Creates MARVOLT.FDB at `path` through the embedded engine: the schema, then the reference
// makes and models. Raises DatabaseError when the file already exists (it never overwrites
// one) or when the engine refuses; a half-made file is removed again.
void CreateDatabaseFile(const QString& path);

}  // namespace marvolt
