// The textbook LZHUF decoder, kept as it is usually written (16-bit tables,
// a bit at a time through getc, linear scans in the tree update, a ring of
// recent output), as the floor the skin decoder is timed against. Its getc
// and putc work on memory so that only decoding is compared.
#include "ClassicLzhuf.h"

#include <cstring>

namespace {

enum {
    N = 4096,
    F = 60,
    THRESHOLD = 2,
    N_CHAR = 256 - THRESHOLD + F,
    T = N_CHAR * 2 - 1,
    R = T - 1,
    MAX_FREQ = 0x8000
};

unsigned char d_code[256];
unsigned char d_len[256];

void MakePositionTables()
{
    // Upper six bits: value v repeated (32, 16, 8, 4, 2, 1 times) in runs.
    static const int runs[6][2] = {{1, 32}, {3, 16}, {8, 8}, {12, 4}, {24, 2}, {16, 1}};
    int i = 0, v = 0;
    for (int r = 0; r < 6; r++)
        for (int n = 0; n < runs[r][0]; n++, v++)
            for (int k = 0; k < runs[r][1]; k++) d_code[i++] = (unsigned char)v;
    static const int lens[6][2] = {{3, 32}, {4, 48}, {5, 64}, {6, 48}, {7, 48}, {8, 16}};
    i = 0;
    for (int r = 0; r < 6; r++)
        for (int k = 0; k < lens[r][1]; k++) d_len[i++] = (unsigned char)lens[r][0];
}

struct Lzhuf {
    const unsigned char* in;
    const unsigned char* in_end;
    unsigned char* out;

    unsigned short getbuf;
    unsigned char getlen;

    unsigned char text_buf[N + F - 1];
    unsigned short freq[T + 1];
    short prnt[T + N_CHAR];
    short son[T];

    int getc_() { return in < in_end ? *in++ : -1; }
    void putc_(int c) { *out++ = (unsigned char)c; }

    int GetBit()
    {
        int i;
        while (getlen <= 8) {
            if ((i = getc_()) < 0) i = 0;
            getbuf |= i << (8 - getlen);
            getlen += 8;
        }
        i = getbuf;
        getbuf <<= 1;
        getlen--;
        return (i >> 15) & 1;
    }

    int GetByte()
    {
        unsigned i;
        while (getlen <= 8) {
            int c;
            if ((c = getc_()) < 0) c = 0;
            getbuf |= c << (8 - getlen);
            getlen += 8;
        }
        i = getbuf;
        getbuf <<= 8;
        getlen -= 8;
        return (i >> 8) & 0xff;
    }

    void StartHuff()
    {
        int i, j;
        for (i = 0; i < N_CHAR; i++) {
            freq[i] = 1;
            son[i] = (short)(i + T);
            prnt[i + T] = (short)i;
        }
        i = 0;
        j = N_CHAR;
        while (j <= R) {
            freq[j] = freq[i] + freq[i + 1];
            son[j] = (short)i;
            prnt[i] = prnt[i + 1] = (short)j;
            i += 2;
            j++;
        }
        freq[T] = 0xffff;
        prnt[R] = 0;
    }

    void reconst()
    {
        int i, j, k;
        unsigned f, l;
        j = 0;
        for (i = 0; i < T; i++) {
            if (son[i] >= T) {
                freq[j] = (freq[i] + 1) / 2;
                son[j] = son[i];
                j++;
            }
        }
        for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
            k = i + 1;
            f = freq[j] = freq[i] + freq[k];
            for (k = j - 1; f < freq[k]; k--);
            k++;
            l = (j - k) * 2;
            memmove(&freq[k + 1], &freq[k], l);
            freq[k] = (unsigned short)f;
            memmove(&son[k + 1], &son[k], l);
            son[k] = (short)i;
        }
        for (i = 0; i < T; i++) {
            if ((k = son[i]) >= T) {
                prnt[k] = (short)i;
            } else {
                prnt[k] = prnt[k + 1] = (short)i;
            }
        }
    }

    void update(int c)
    {
        int i, j, k, l;
        if (freq[R] == MAX_FREQ) reconst();
        c = prnt[c + T];
        do {
            k = ++freq[c];
            if (k > freq[l = c + 1]) {
                while (k > freq[++l]);
                l--;
                freq[c] = freq[l];
                freq[l] = (unsigned short)k;
                i = son[c];
                prnt[i] = (short)l;
                if (i < T) prnt[i + 1] = (short)l;
                j = son[l];
                son[l] = (short)i;
                prnt[j] = (short)c;
                if (j < T) prnt[j + 1] = (short)c;
                son[c] = (short)j;
                c = l;
            }
        } while ((c = prnt[c]) != 0);
    }

    int DecodeChar()
    {
        unsigned c = son[R];
        while (c < T) {
            c += GetBit();
            c = son[c];
        }
        c -= T;
        update((int)c);
        return (int)c;
    }

    int DecodePosition()
    {
        unsigned i, j, c;
        i = GetByte();
        c = (unsigned)d_code[i] << 6;
        j = d_len[i];
        j -= 2;
        while (j--) i = (i << 1) + GetBit();
        return (int)(c | (i & 0x3f));
    }

    void Decode(long textsize)
    {
        int i, j, k, r, c;
        long count;
        StartHuff();
        for (i = 0; i < N - F; i++) text_buf[i] = ' ';
        r = N - F;
        for (count = 0; count < textsize;) {
            c = DecodeChar();
            if (c < 256) {
                putc_(c);
                text_buf[r++] = (unsigned char)c;
                r &= (N - 1);
                count++;
            } else {
                i = (r - DecodePosition() - 1) & (N - 1);
                j = c - 255 + THRESHOLD;
                for (k = 0; k < j; k++) {
                    c = text_buf[(i + k) & (N - 1)];
                    putc_(c);
                    text_buf[r++] = (unsigned char)c;
                    r &= (N - 1);
                    count++;
                }
            }
        }
    }
};

} // namespace

size_t ClassicLzhufDecode(const unsigned char* In, size_t InSize, unsigned char* Out, size_t OutRoom)
{
    static bool tables = false;
    if (!tables) {
        MakePositionTables();
        tables = true;
    }
    if (InSize < 4) return 0;
    const long textsize = (long)((unsigned long)In[0] | (unsigned long)In[1] << 8 | (unsigned long)In[2] << 16 |
                                 (unsigned long)In[3] << 24);
    // A match may run past the size by up to F - 1 bytes.
    if (textsize <= 0 || (size_t)textsize + F > OutRoom) return 0;
    static Lzhuf state;
    memset(&state, 0, sizeof state);
    state.in = In + 4;
    state.in_end = In + InSize;
    state.out = Out;
    state.Decode(textsize);
    return (size_t)(state.out - Out);
}
