// A fresh temporary directory per test, removed afterwards; optionally the
// working directory while it lives.
#pragma once

#include <string>

class ScratchDir {
  public:
    explicit ScratchDir(bool enter = false);
    ~ScratchDir();
    const std::string& path() const { return dir; }
    std::string file(const std::string& name) const { return dir + "/" + name; }
    void Write(const std::string& name, const std::string& content) const;
    std::string Read(const std::string& name) const;

  private:
    std::string dir, previousCwd;
};
