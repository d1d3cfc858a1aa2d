#include "app/shell/program_start.h"

int main(int argc, char **argv)
{
    return vt::shell::vantorelMain(argc, argv);
}
