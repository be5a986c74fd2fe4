#pragma once

#include "shell/StatusAppDelegate.h"

#include <QByteArray>
#include <QString>

class CommandLine;
class MainWindowDescription;

// Starts Welvane from the command line: parses the options, chooses the Qt
// platform and the screen class, and runs the window, a screenshot, a dump
// or the report.
class Application {
public:
    static int run(int argc, char** argv);

    // Decides the screen class: the option if given, otherwise large when the
    // primary screen's available shorter side is at least 600 logical pixels.
    static bool chooseLargeLayout(const CommandLine& commandLine);
    // The page's sections and rows as text (title line first).
    static QString dumpPage(MainWindowDescription& graph, const QString& page);
    // Saves a picture of the window showing the page to the file named by
    // these bytes; false on failure.
    static bool screenshotPage(MainWindowDescription& graph, const QString& page,
                               const QByteArray& nativeFile);
    // The text with control characters other than tab and line end written
    // as "\x1B", safe to print to a terminal.
    static QString escapeControls(const QString& text);
    // Builds the graph, sizes the window for the layout and launches.
    static void launch(MainWindowDescription& graph,
                       StatusAppDelegate::Launch kind = StatusAppDelegate::Launch::User);
};
