#include "export_run.h"

int main(int argc, char* argv[]) { return static_cast<int>(runExport(argc, argv)); }
