#pragma once

#include <QStringList>

namespace marvolt::cli {

// Each command gets the arguments after its own name and returns the exit status. A command
// reports a failure on standard error; its standard output holds only its result.
int InitDb(const QStringList& arguments);
int Task(const QStringList& arguments);
int Run(const QStringList& arguments);
// Diagnostics of the scanner engine's text core.
int Normalize(const QStringList& arguments);
int Extract(const QStringList& arguments);
int SearchUrl(const QStringList& arguments);
// The notification channels and the settings store.
int TestMail(const QStringList& arguments);
int TestSms(const QStringList& arguments);
int RenderTemplate(const QStringList& arguments);
int Settings(const QStringList& arguments);
int Channel(const QStringList& arguments);

}  // namespace marvolt::cli
