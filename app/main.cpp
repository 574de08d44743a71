// app: the entry point; everything else lives in the libraries.
#include "app/app.h"
#include "app/command_line.h"
#include "app/data_directory.h"

int main(int argc, char** argv)
{
    CommandLine commandLine = parseCommandLine(argc, argv);
    if (commandLine.action != LaunchAction::Play)
        return answerCommandLine(commandLine);
    if (!enterDataDirectory())
        return 1;
    std::vector<char*> glutArgv;
    for (std::string& arg : commandLine.glutArgs)
        glutArgv.push_back(arg.data());
    glutArgv.push_back(nullptr);
    return runGame(int(commandLine.glutArgs.size()), glutArgv.data(), commandLine.window);
}
