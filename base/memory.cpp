// The memory routines the compiler may call on its own (for structure copies and
// initialisers), for the shipped programs, which have no C runtime to supply them.
// Plain byte loops: the copies they serve are small.
#include <stddef.h>

extern "C" {

void* memcpy(void* destination, const void* source, size_t count)
{
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    while (count--)
        *to++ = *from++;
    return destination;
}

// Copies backwards when the destination lies above an overlapping source.
void* memmove(void* destination, const void* source, size_t count)
{
    unsigned char* to = static_cast<unsigned char*>(destination);
    const unsigned char* from = static_cast<const unsigned char*>(source);
    if (to <= from || to >= from + count)
        return memcpy(destination, source, count);
    to += count;
    from += count;
    while (count--)
        *--to = *--from;
    return destination;
}

void* memset(void* destination, int value, size_t count)
{
    unsigned char* to = static_cast<unsigned char*>(destination);
    while (count--)
        *to++ = static_cast<unsigned char>(value);
    return destination;
}

int memcmp(const void* first, const void* second, size_t count)
{
    const unsigned char* a = static_cast<const unsigned char*>(first);
    const unsigned char* b = static_cast<const unsigned char*>(second);
    for (; count; --count, ++a, ++b) {
        if (*a != *b)
            return *a < *b ? -1 : 1;
    }
    return 0;
}

}  // extern "C"
