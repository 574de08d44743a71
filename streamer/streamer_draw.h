// streamer: drawing one paper strip, solid or as wire lines.
#pragma once

class PaperStreamer;

void drawStreamer(const PaperStreamer* streamer);
