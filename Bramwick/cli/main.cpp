#include <cstdio>
int main() { std::fprintf(stderr, "usage: bramwick-cli cases [ARCHIVE]\n"); return 2; }
