// The environment variables of the unattended mode. They are read at every call, so a test may
// change them at run time (SetEnvironmentVariableA) and child processes inherit them.
//
//   VLCT11_UNATTENDED   non-empty and not "0": no box waits for a person
//   VLCT11_LOG          path of the activity log (see ActivityLog.h)
//   VLCT11_ANSWERS      scripted message-box answers (see AnswerScript.h)
//   VLCT11_ABORT_AFTER  n: the abort dialogs report an abort from their n-th check on
//   VLCT11_FILENAME     the path the file-name dialog answers with
//   VLCT11_DIALOGS      scripted answers of the dialogs of the class vlmrDialog1132 (DialogAnswers.h)
#pragma once

#include <optional>
#include <string>

// Value of an environment variable of the process; nothing when it is not set.
std::optional<std::string> ReadEnvironment(const char* name);

bool IsUnattended();

// The check count from which the abort dialogs report an abort; nothing when not set or not a
// number. 0 counts as 1 (abort at the first check).
std::optional<long> AbortAfterChecks();

// The path the file-name dialog answers with; nothing when not set or empty.
std::optional<std::string> ScriptedFileName();
