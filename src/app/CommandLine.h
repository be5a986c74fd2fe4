#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The command line of welvane, parsed before Qt starts (the choice of Qt
// platform depends on it). Qt's own -platform and -display pass through.
class CommandLine {
public:
    enum class Mode { Window, Screenshot, Dump, Report, Help, Version, ServeMetrics };
    enum class Layout { Small, Large };

    Mode mode = Mode::Window;
    std::optional<Layout> layout;
    bool demo = false;
    bool verbose = false;    // --verbose: the debug messages of every welvane.* log
    QString page;            // --screenshot / --dump
    QString file;            // --screenshot
    int fileArgument = -1;   // where the file name is in the arguments, for its raw bytes
    QStringList qtArguments; // program name plus what Qt should see
    bool platformGiven = false;
    QString error; // set when the line cannot be used (exit 2)

    QString metricsAddress;       // --serve-metrics [ADDRESS:]PORT
    bool metricsIdentity = false; // --metrics-identity

    static CommandLine parse(const QStringList& arguments);
    static QString helpText();
    static QString versionText();
};
