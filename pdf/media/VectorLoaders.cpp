#include "pdf/Tavlo.h"

#include "pdf/core/TavloState.h"
#include "pdf/media/ImageFile.h"
#include "pdf/media/VectorPictures.h"

namespace tavlo {

void Tavlo::PlayWmf(const std::string& path, float x, float y, float width, float height)
{
    DrawVectorPicture(path, x, y, width, height, PlayWmfData);
}

void Tavlo::ImportEps(const std::string& path, float x, float y, float width, float height)
{
    DrawVectorPicture(path, x, y, width, height, ImportEpsData);
}

void Tavlo::DrawVectorPicture(const std::string& path, float x, float y, float width, float height,
                              VectorDrawing (*translate)(const Bytes&, const VectorPlacement&))
{
    VectorDrawing drawing;
    try {
        drawing = translate(ReadImageFile(path, kMaxVectorFileSize), {x, y, width, height, s_->Scale});
    } catch (const std::exception& error) {
        CaptureError("DrawImage", path, error);
        return;
    }
    if (!drawing.lines.empty())
        PutContent(drawing.lines);
    if (drawing.error)
        CaptureError("DrawImage", path, *drawing.error);
}

} // namespace tavlo
