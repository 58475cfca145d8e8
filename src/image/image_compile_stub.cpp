#include "image/image_compile.h"

namespace lw {

// Placeholder until the image compiler lands.
QString Compile_And_Save_Image(const ProgramState&, QString*)
{
    return QStringLiteral("The device image compiler is not available yet");
}

} // namespace lw
