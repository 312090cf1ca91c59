#include <cstdio>
#include "bramwick_engine.h"
int main() { std::fprintf(stderr, "usage: bwengine dump|schema|fill|work-location-lov ...\n"); return 2; }
