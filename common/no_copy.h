// A base for a class whose object alone owns what it holds (a hook, a thread,
// a folder on disk, a raised priority): a copy would release it twice, so
// copying or assigning one does not compile.
#pragma once

class NoCopy {
  public:
    NoCopy(const NoCopy&) = delete;
    NoCopy& operator=(const NoCopy&) = delete;

  protected:
    NoCopy() = default;
    ~NoCopy() = default;
};
