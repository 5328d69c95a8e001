// veltrane-host: renders audio files through a VST 2.x plug-in. Exit status 0 on success, 1
// when something fails, 2 for a mistake on the command line.
#include "tools/CommandLine.h"
#include "tools/HostApplication.h"
#include "tools/HostError.h"

#include <iostream>
#include <new>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    try {
        const CommandLine options = CommandLine::parse(arguments);
        HostApplication application(VELTRANE_DEFAULT_PLUGIN, std::cout, std::cerr);
        return application.run(options);
    } catch (const UsageError& error) {
        std::cerr << "veltrane-host: " << error.what() << "\nTry 'veltrane-host --help'.\n";
        return 2;
    } catch (const std::bad_alloc&) {
        std::cerr << "veltrane-host: out of memory\n";
    } catch (const std::exception& error) {
        std::cerr << "veltrane-host: " << error.what() << "\n";
    }
    return 1;
}
