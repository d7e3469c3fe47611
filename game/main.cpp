#include "game/command_line.h"
#include "game/startup.h"

#include <cstdio>
#include <span>

int main(int argc, char* argv[])
{
    const CommandLine line = ParseCommandLine(std::span<const char* const>(argv + 1, argc > 0 ? argc - 1 : 0));
    switch (line.action) {
    case CommandLineAction::ShowHelp: std::fputs(UsageText().c_str(), stdout); return 0;
    case CommandLineAction::ShowVersion: std::puts(VersionText().c_str()); return 0;
    case CommandLineAction::Refuse:
        std::fprintf(stderr, "tervane: %s\n%s", line.error.c_str(), UsageText().c_str());
        return 2;
    case CommandLineAction::Run: break;
    }
    RunTervane(line.options);
}
