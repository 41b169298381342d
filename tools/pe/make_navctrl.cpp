// Writes the simulated navigator's NAVCTRL.OCX, whose version record the
// program checks at start-up, to the path given as the only argument.
#include <cstdio>

#include "pe/pe_builder.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_navctrl OUTPUT\n");
        return 2;
    }
    pe_builder::PeFile file;
    file.resources = {pe_builder::version_resource(pe_builder::navctrl_record())};
    if (!pe_builder::write_file(argv[1], pe_builder::build_pe(file).bytes)) {
        std::fprintf(stderr, "make_navctrl: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
