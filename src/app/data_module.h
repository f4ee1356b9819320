#pragma once

// Makes sure the alias of the database is known. Without it the long notice
// is shown and DBConnectFailed is set; the connection itself is opened by
// the main window.
void DataModuleCreate();
