// Compiled against one layer to show which headers that layer can see.
#include LAYER_PROBE_HEADER

int main()
{
    return 0;
}
