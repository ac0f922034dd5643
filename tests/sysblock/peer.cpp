// tests/sysblock/peer.cpp
// A second process for the shared block's test: opens the block, checks
// what the first process wrote, answers, and exits 0 when all was as
// expected (3 when the block could not be opened, 4 when it was zeroed).
#include "sysblock.h"

#include <cstring>

int main() {
    SystemBlock* block = SystemBlock_Open();
    if (block == nullptr)
        return 3;
    char* bytes = static_cast<char*>(block->view);
    const int result = strcmp(bytes + 1000, "from the first process") == 0 ? 0 : 4;
    strcpy(bytes + 2000, "from the second process");
    SystemBlock_Close(block);
    return result;
}
