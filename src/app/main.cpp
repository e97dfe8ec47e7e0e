#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
    std::puts("Trelvik 4.72");
    return 0;
  }
  std::fputs("usage: trelvik [/OPTION[=value] ...] | FILE\n", stderr);
  return 2;
}
