#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("Trelvik 4.72");
    return 0;
  }
  if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
    std::puts("Usage: trelvik [/OPTION[=value] ...] | FILE");
    return 0;
  }
  std::fputs("Usage: trelvik [/OPTION[=value] ...] | FILE\n", stderr);
  return 2;
}
