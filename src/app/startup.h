#pragma once

// The start-up sequence: screen check, splash, database, main window, then
// enrolment on a first run or logon; runs the program until the main window
// closes. Returns the process exit code.
int RunProgram();

// Users whose SYS_USER is "是"; none means a first run.
double AdministratorCount();

// Opens the database of the alias and fills the process-wide values read
// from it: the folders, the sender company and the numbering switches.
// Throws the database's error when it cannot be opened.
void OpenSession();
