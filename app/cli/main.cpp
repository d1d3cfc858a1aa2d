// vantorel-cli: the production chains without windows.
#include "app/cli/cli_arguments.h"
#include "app/cli/cli_commands.h"

#include <iostream>

int main(int argc, char **argv)
{
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    const vt::cli::CommandLine line = vt::cli::ParseCommandLine(arguments);
    if (!line.error.empty()) {
        std::cerr << "vantorel-cli: " << line.error << "; see vantorel-cli --help\n";
        return 2;
    }
    switch (line.command) {
    case vt::cli::Command::Help:
        std::cout << vt::cli::UsageText();
        return 0;
    case vt::cli::Command::Probe:
        return vt::cli::RunProbe(line.files, std::cout);
    case vt::cli::Command::Build:
        return vt::cli::RunBuild(line.build, std::cout);
    case vt::cli::Command::Burn:
        return vt::cli::RunBurnCommand(line.burn, std::cout);
    case vt::cli::Command::Drives:
        return vt::cli::RunDrives(std::cout);
    }
    return 2;
}
