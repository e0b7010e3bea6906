#include "support/temp_database.h"

#include <QFile>

#include "data/database_file.h"

namespace marvolt::test {

namespace {

const QString& TemplateDatabase() {
    static QTemporaryDir folder;
    static const QString path = [] {
        const QString file = folder.filePath(QStringLiteral("TEMPLATE.FDB"));
        CreateDatabaseFile(file);
        return file;
    }();
    return path;
}

}  // namespace

TempDatabase::TempDatabase() : path_(folder_.filePath(QStringLiteral("MARVOLT.FDB"))) {
    if (!folder_.isValid() || !QFile::copy(TemplateDatabase(), path_)) {
        throw std::runtime_error("cannot make a temporary database");
    }
    // Copies keep the template's read-only bits on some systems; the engine needs to write.
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner);
}

}  // namespace marvolt::test
