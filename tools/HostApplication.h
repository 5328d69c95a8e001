// What veltrane-host does for each command: list a plug-in, render a file through it, render
// the demo phrase through its programs, or draw veltrane's editor.
#pragma once

#include "tools/CommandLine.h"

#include <ostream>
#include <string>

class EffectHost;

class HostApplication {
public:
    // defaultPlugin: the module used without --plugin (empty when none was built). Reports go
    // to out, notes and warnings to err.
    HostApplication(std::string defaultPlugin, std::ostream& out, std::ostream& err);

    // Returns the exit status; throws HostError (UsageError for the command line) on failure.
    int run(const CommandLine& options);

    // A file name made from a program name: "03-stereo-delay.wav" for program 3.
    static std::string demoFileName(int program, const std::string& programName);

private:
    std::string pluginPath(const CommandLine& options) const;
    void list(const CommandLine& options);
    void render(const CommandLine& options);
    void demo(const CommandLine& options);
    void editorPicture(const CommandLine& options);
    void benchmark(const CommandLine& options);
    void editorWindow(const CommandLine& options);
    // Selects the program and applies the --set values, in that order.
    void configure(EffectHost& host, const CommandLine& options, int program);

    std::string defaultPlugin;
    std::ostream& out;
    std::ostream& err;
};
