// The two sets of art the generator writes.
#include "SkinArt.h"

std::vector<TArtFile> DefaultSkinArt()
{
    std::vector<TArtFile> files;
    AddFrameArt(files);
    AddMenuArt(files);
    AddControlArt(files);
    AddRangeArt(files);
    return files;
}

std::vector<TArtFile> ProgramResourceArt()
{
    return {{"torvelmenu.bmp", SystemMenuGlyphs()},
            {"track.bmp", TrackChannel(16, 4, false, false)},
            {"trackvert.bmp", TrackChannel(16, 4, true, false)}};
}
