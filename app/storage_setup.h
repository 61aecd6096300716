#pragma once
// The program's side of the engine's error handling: starting and stopping
// the engine, the retry question, and the fatal-error path that writes the
// error log file, tells the operator what went wrong and what may help,
// repairs what can be repaired for the next start, closes all fileblocks and
// ends the program.

#include <functional>
#include <string>

namespace kontura {

// Installs the fatal handler and the table of the program's fileblocks,
// starts the engine with 160 page buffers and 32 file handles (log file
// "FK.ERR" until then, "RUZ.ERR" afterwards) and installs LockRetryDialog as
// the default retry handler. A failure to start
// takes the fatal path; the result is false only when the program end was
// replaced and returned.
bool StartStorage();

// Stops the engine. A fileblock still open is a fatal usage error (shown as 52).
void StopStorage();

// The engine's retry question. Situations 5 (rebuild a damaged fileblock) and
// 6 (create a missing one) answer yes without asking.
bool LockRetryDialog(const std::string& fileblock_name, int situation);

// The fatal handler: runs at the end of every operation whose class is above
// 2, and without effect at a normal end of the program.
void FatalStorageError();

// The message for a fatal error with the shown code: six lines joined by CR.
std::string FatalErrorMessage(int shown_code);

// The code shown to the operator: codes at 0x3000 and above by their low 12 bits.
int ShownErrorCode(int code);

// The name of the error log file in the current directory.
const std::string& ErrorLogFileName();
void SetErrorLogFileName(const std::string& name);

// How the program ends after a fatal error. The default ends the process with
// exit code 1; tests replace it. nullptr restores the default.
void SetProgramEnd(std::function<void(int exit_code)> end);

}  // namespace kontura
