// A tune's score read from its file. Files from disk are untrusted: a missing, empty, oversized
// or malformed score gives no tune and a reason to tell.
#pragma once

#include <optional>
#include <string>

#include "platform/sound/music_score.h"

std::optional<MusicScore> ReadScoreFile(const std::string& path, std::string& why);
