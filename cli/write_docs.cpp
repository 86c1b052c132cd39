// Writes what the build makes from the command table: the bash completion ("completion") or the
// manual page's sections with every command's help, for help2man's --include ("manual").
#include <cstring>
#include <fstream>
#include <iostream>

#include "cli/help_text.h"

int main(int argc, char** argv) {
  if (argc != 3 || (std::strcmp(argv[1], "completion") != 0 && std::strcmp(argv[1], "manual") != 0)) {
    std::cerr << "Aufruf: write_docs completion|manual DATEI\n";
    return 2;
  }
  std::ofstream file(argv[2], std::ios::binary);
  file << (std::strcmp(argv[1], "completion") == 0 ? cli::BashCompletion() : cli::ManualSections());
  file.close();
  if (!file) {
    std::cerr << "write_docs: " << argv[2] << " kann nicht geschrieben werden\n";
    return 1;
  }
  return 0;
}
