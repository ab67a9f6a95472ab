#pragma once

namespace velmora {

// Keeps Qt's picture decoders' warnings ("QImageReader…", libjpeg's and libtiff's complaints,
// all English) off the console: whatever they report reaches the user as our own Spanish
// message about the file. Every other Qt message goes on to Qt's usual output. Called once
// by each program's main.
void keepDecoderWarningsOffTheConsole();

} // namespace velmora
