#pragma once

#include <QString>
#include <QTemporaryDir>

namespace marvolt::test {

// A fresh MARVOLT.FDB in its own temporary folder, removed with the object. The first one
// of a process is made by CreateDatabaseFile; later ones are copies of it, which is faster.
class TempDatabase {
  public:
    TempDatabase();
    const QString& Path() const { return path_; }
    QString Folder() const { return folder_.path(); }

  private:
    QTemporaryDir folder_;
    QString path_;
};

}  // namespace marvolt::test
