#include "shell/shell_seams.h"

#include "image/image_compile.h"

namespace lw {

Shell_Seams With_Defaults(Shell_Seams seams)
{
    static_cast<Options_Seams&>(seams) = With_Defaults(static_cast<const Options_Seams&>(seams));
    static_cast<Update_Seams&>(seams) = With_Defaults(static_cast<const Update_Seams&>(seams));
    if (!seams.Compile_Image)
        seams.Compile_Image = [](const ProgramState& state) { return Compile_And_Save_Image(state); };
    return seams;
}

} // namespace lw
