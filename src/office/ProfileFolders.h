// The folders that hold the offices' private profiles, and what can be read of other copies'
// offices: made so that only we can enter them, and cleaned of profiles whose office has ended.
#pragma once

#include <sys/types.h>

#include <string>

namespace office {

// The folder that holds the private profiles, one sub-folder per office process: below
// $XDG_RUNTIME_DIR, else in /tmp. Raises automation::Error when it is not safe to use.
std::string ProfileRoot();

// Makes `path` a folder that only we can enter, or checks that the one there already is: a real
// folder (not a link), ours, with no access for anyone else. Raises automation::Error otherwise,
// having written nothing.
void EnsurePrivateFolder(const std::string& path);

// Removes the profiles of office processes that are no longer running.
void RemoveStaleProfiles(const std::string& root);

// The state letter that /proc gives a process or thread in its stat file ('R' running, 'S'
// asleep, 'Z' ended and not yet reaped...), or 0 when there is no such file.
char StateInProc(const std::string& statFile);

// Whether the process with this number runs (an ended one not yet reaped does not). For the
// offices of other copies of the program: only ever looked at, never signalled.
bool ProcessRunning(pid_t pid);

}  // namespace office
