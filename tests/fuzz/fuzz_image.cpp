// The compiler fed a pair of XML files: it either stops with a message or
// gives an image of exactly 22528 bytes whose block checksum is valid.
#include "image/image_compile.h"
#include "image/image_inspect.h"

#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "fuzz_files.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    // The input is split at its first NUL byte into ParGen.xml and KNX_SetAccess.xml.
    const uint8_t* nul = static_cast<const uint8_t*>(memchr(data, 0, size));
    const size_t first = nul ? size_t(nul - data) : size;
    lw::ProgramState state;
    state.Dir_Project = dir.path();
    lw::Set_Files(state);
    lw::fuzz::Write(state.File_ParGen, data, first);
    lw::fuzz::Write(state.File_KNX_Access, nul ? data + first + 1 : data, nul ? size - first - 1 : 0);
    static lw::image::Image_Buffer buffer;
    if (lw::image::Compile_Image(state, buffer).isEmpty()) {
        if (buffer.Image_Length != 22528)
            std::abort();
        const std::uint8_t* block = buffer.Data() + 0x5000;
        quint32 sum = 0;
        for (int i = 0; i < 0x7FC; ++i)
            sum += block[i];
        if (sum != lw::image::Get_U32(block + 0x7FC))
            std::abort();
    }
    return 0;
}
