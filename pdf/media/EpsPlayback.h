#pragma once
// The state an EPS file's calls are played against: the painting flags of drawing programs'
// files, the states the content has saved (each with the colour spaces it restores) and a
// clipping path still to be ended. It decides which calls are written.

#include "pdf/media/EpsOperators.h"

#include <string>
#include <vector>

namespace tavlo {

class EpsPlayback {
public:
    // Appends what the call writes, if anything, to the content line.
    void Play(const EpsCall& call, std::string& line);
    // The lines that end the content: the clipping path, the states left saved.
    std::vector<std::string> Close() const;
    // Something was painted.
    bool Drawn() const { return drawn_; }

private:
    struct Spaces {
        int fill = 0, stroke = 0;  // components of the current colour spaces, 0 when unknown
    };

    bool painted_ = false, pathOpen_ = false, clipOpen_ = false, drawn_ = false;
    Spaces spaces_;
    std::vector<Spaces> saved_;
};

} // namespace tavlo
