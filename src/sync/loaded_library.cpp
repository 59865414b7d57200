#include "sync/loaded_library.h"

#include <dlfcn.h>

namespace tabrel {

LoadedLibrary::LoadedLibrary(const char* name) {
  // Never closed: the library's own state lives as long as the program.
  handle_ = ::dlopen(name, RTLD_NOW | RTLD_LOCAL);
  if (handle_ == nullptr) {
    const char* why = ::dlerror();
    error_ = why != nullptr ? why : name;
  }
}

void* LoadedLibrary::Symbol(const char* symbol) {
  if (handle_ == nullptr) return nullptr;
  ::dlerror();
  void* found = ::dlsym(handle_, symbol);
  if (found == nullptr && error_.empty()) {
    const char* why = ::dlerror();
    error_ = why != nullptr ? why : symbol;
  }
  return found;
}

}  // namespace tabrel
