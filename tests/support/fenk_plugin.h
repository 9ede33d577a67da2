// The built effects library loaded as a plug-in for tests, fresh for each
// fixture, with typed lookup of its exports and a caller for effects.
#pragma once

#include <initializer_list>
#include <string>

class FenkPlugin {
  public:
    FenkPlugin();  // loads TRELLIC_BIN_DIR/libFenk.so
    ~FenkPlugin(); // unloads it, so the next fixture starts from its load state
    FenkPlugin(const FenkPlugin&) = delete;
    FenkPlugin& operator=(const FenkPlugin&) = delete;

    bool loaded() const { return handle != nullptr; }
    void* Find(const char* name) const;
    template <typename F> F Get(const char* name) const { return reinterpret_cast<F>(Find(name)); }

    // Calls Vorlen_Init with empty surface arrays; a BasicException passes through.
    int Init() const;
    int Quit() const;
    // Calls the effect `name` with integer arguments; returns its result byte,
    // or -1 when the library has no such export.
    int Call(const char* name, std::initializer_list<int> args) const;

    static std::string Path();

  private:
    void* handle;
};
