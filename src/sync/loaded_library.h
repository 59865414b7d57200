#pragma once

#include <string>

namespace tabrel {

// A shared library opened on first use, so the network and secret-store
// libraries (and the dozens they pull in) cost nothing at start-up and
// nothing at all to a user who never syncs.
class LoadedLibrary {
 public:
  explicit LoadedLibrary(const char* name);
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;

  // Sets `fn` to the named function; false (and error() says why) when the
  // library or the function is missing.
  template <typename Fn>
  bool Find(Fn*& fn, const char* symbol) {
    fn = reinterpret_cast<Fn*>(Symbol(symbol));
    return fn != nullptr;
  }
  bool ok() const { return handle_ != nullptr && error_.empty(); }
  // "libcurl.so.4: cannot open shared object file..." for a message.
  const std::string& error() const { return error_; }

 private:
  void* Symbol(const char* symbol);

  void* handle_ = nullptr;
  std::string error_;
};

}  // namespace tabrel
