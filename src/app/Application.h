#pragma once

// Starts Welvane from the command line: parses the options, chooses the
// screen class and the Qt platform, and runs the window, a screenshot, a
// dump or the report.
class Application {
public:
    static int run(int argc, char** argv);
};
