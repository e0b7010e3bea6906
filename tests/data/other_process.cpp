#include "other_process.h"

#include <stdexcept>

namespace marvolt::test {

OtherProcess::OtherProcess(const QString& databasePath, const QString& mode) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(DATA_WRITER_PATH), {databasePath, mode});
    while (process_.state() != QProcess::NotRunning && !process_.canReadLine()) {
        process_.waitForReadyRead(30000);
    }
    if (process_.readLine().trimmed() != "ready") {
        throw std::runtime_error("data_writer did not get ready");
    }
}

OtherProcess::~OtherProcess() {
    Kill();
}

void OtherProcess::Kill() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();  // SIGKILL: no clean-up of any kind in the other process
        process_.waitForFinished(30000);
    }
}

}  // namespace marvolt::test
