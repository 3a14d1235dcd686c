#pragma once

#include <QString>
#include <memory>

#include "app/application.h"
#include "editor/code_editor.h"  // the main window's editor, for keys and clicks

class FakeDesktop;

// The application over a program folder that holds the shipped language files, started
// with argument, its main window active.
std::unique_ptr<Application> StartApplication(FakeDesktop& desktop, const QString& program_folder,
                                              const QString& argument = QString());

// True when no top-level window outlives the application (call after destroying it).
bool NoWindowLeft();

// Points the user's configuration and data folders into folder, so a test never touches
// the real ones.
void UseUserFoldersIn(const QString& folder);
