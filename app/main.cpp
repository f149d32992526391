// Program entry. The windows are not built yet: say so plainly instead of pretending.
#include <cstdio>

int main()
{
    std::puts("Lexora: the dictionary engine, the decoder library and the sample data are built;\n"
              "the program's windows are not available yet.");
    return 0;
}
