// The Task Scheduler 2.0 (ITaskService): one task of the user's, kept in a
// task folder of the program's, registered from its XML definition, looked
// up and deleted. Each call connects to the local scheduler afresh; a
// failure comes back as the system's words for it.
#pragma once

#include <string>

namespace platform {

// Registers (or replaces) the task `name` in `folder` ("\Tavrik Backup"),
// making the folder first when there is none, to run with the user's own
// interactive token. "" when registered, otherwise why not.
std::wstring RegisterTask(const std::wstring& folder, const std::wstring& name,
                          const std::wstring& xml, const std::wstring& user_id);
// Deletes the task, and the folder with it when nothing else is left in
// it. A task that is not there is already deleted: "". Otherwise why not.
std::wstring DeleteTask(const std::wstring& folder, const std::wstring& name);
// Whether the scheduler has the task now.
bool TaskRegistered(const std::wstring& folder, const std::wstring& name);

// The signed-in user's security identifier ("S-1-5-21-..."); "" when it
// cannot be read.
std::wstring CurrentUserSid();

}  // namespace platform
