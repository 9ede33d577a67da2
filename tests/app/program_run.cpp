#include "program_run.h"

#include <cstdlib>
#include <sys/wait.h>

ProgramResult RunTrellic(const ScratchDir& dir, const std::string& args, const std::string& env) {
    std::string cmd = "cd '" + dir.path() + "' && " + env + " '" TRELLIC_BIN_DIR "/Trellic' " + args + " 2> '" +
                      dir.file("stderr.txt") + "' > '" + dir.file("stdout.txt") + "'";
    int status = system(cmd.c_str());
    ProgramResult r;
    r.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    r.out = dir.Read("stdout.txt");
    r.err = dir.Read("stderr.txt");
    return r;
}
