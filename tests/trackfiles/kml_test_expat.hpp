#pragma once
// Well-formedness as a real XML parser sees it: libexpat, loaded at run time so
// that the test binary needs no link-time dependency on it.
#include <dlfcn.h>
#include <expat.h>

#include <string>
#include <string_view>

namespace trelvik::testing {

// Empty when `text` is well-formed XML; otherwise expat's error and its line.
inline std::string ExpatProblem(std::string_view text) {
  struct Expat {
    decltype(&XML_ParserCreate) create = nullptr;
    decltype(&XML_Parse) parse = nullptr;
    decltype(&XML_GetErrorCode) errorCode = nullptr;
    decltype(&XML_ErrorString) errorString = nullptr;
    decltype(&XML_GetCurrentLineNumber) line = nullptr;
    decltype(&XML_ParserFree) free = nullptr;
    bool loaded = false;
    Expat() {
      void* library = dlopen("libexpat.so.1", RTLD_NOW);
      if (library == nullptr) return;
      create = reinterpret_cast<decltype(create)>(dlsym(library, "XML_ParserCreate"));
      parse = reinterpret_cast<decltype(parse)>(dlsym(library, "XML_Parse"));
      errorCode = reinterpret_cast<decltype(errorCode)>(dlsym(library, "XML_GetErrorCode"));
      errorString = reinterpret_cast<decltype(errorString)>(dlsym(library, "XML_ErrorString"));
      line = reinterpret_cast<decltype(line)>(dlsym(library, "XML_GetCurrentLineNumber"));
      free = reinterpret_cast<decltype(free)>(dlsym(library, "XML_ParserFree"));
      loaded = create && parse && errorCode && errorString && line && free;
    }
  };
  static const Expat expat;
  if (!expat.loaded) return "libexpat.so.1 could not be loaded";
  XML_Parser parser = expat.create(nullptr);
  const bool good = expat.parse(parser, text.data(), static_cast<int>(text.size()), 1) == XML_STATUS_OK;
  std::string problem;
  if (!good) {
    problem = std::string(expat.errorString(expat.errorCode(parser))) + " at line " +
              std::to_string(expat.line(parser));
  }
  expat.free(parser);
  return problem;
}

}  // namespace trelvik::testing
