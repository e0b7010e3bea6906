#pragma once

#include <QProcess>
#include <QString>

namespace marvolt::test {

// Runs data_writer on a database and waits until it reports that it holds the file.
// The process is killed with SIGKILL when the object goes.
class OtherProcess {
  public:
    OtherProcess(const QString& databasePath, const QString& mode);
    ~OtherProcess();
    // Ends the process at once, as a crash or a kill would.
    void Kill();

  private:
    QProcess process_;
};

}  // namespace marvolt::test
