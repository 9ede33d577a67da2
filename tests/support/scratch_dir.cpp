#include "scratch_dir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include <gtest/gtest.h>

ScratchDir::ScratchDir(bool enter) {
    char tmpl[] = "/tmp/trellic-test-XXXXXX";
    char* made = mkdtemp(tmpl);
    if (!made) ADD_FAILURE() << "mkdtemp failed";
    dir = made ? made : "/tmp";
    if (enter) {
        char cwd[4096];
        if (getcwd(cwd, sizeof cwd)) previousCwd = cwd;
        if (chdir(dir.c_str()) != 0) ADD_FAILURE() << "chdir failed";
    }
}

ScratchDir::~ScratchDir() {
    if (!previousCwd.empty() && chdir(previousCwd.c_str()) != 0) perror("chdir");
    std::string cmd = "rm -rf '" + dir + "'";
    if (dir.rfind("/tmp/trellic-test-", 0) == 0 && system(cmd.c_str()) != 0) perror("rm");
}

void ScratchDir::Write(const std::string& name, const std::string& content) const {
    std::ofstream out(file(name), std::ios::binary);
    out << content;
}

std::string ScratchDir::Read(const std::string& name) const {
    std::ifstream in(file(name), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}
