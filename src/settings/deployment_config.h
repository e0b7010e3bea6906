#pragma once

#include <QString>

namespace marvolt {

// Where the programs find their peers, from marvolt.ini beside the executables (or the file
// named by MARVOLT_CONFIG). Out of the box they talk to marvolt-simulator on port 8080.
struct DeploymentConfig {
    QString siteBaseUrl;  // scheme, host and port of the classifieds site
    QString smsBaseUrl;   // scheme, host and port of the SMS gateway
    QString smsUser;
    QString smsPassword;

    // Reads the file; a missing file or key gives the defaults.
    static DeploymentConfig Load();
    // The file Load() reads.
    static QString FilePath();
};

}  // namespace marvolt
