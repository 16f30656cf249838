#pragma once
// The video player's back end (Qt Multimedia on GStreamer), started once on
// the main thread and confined to local files.

namespace mirelo::MediaBackend {

// Starts GStreamer when the first video is shown, never at launch (its first
// run in a new home builds a registry for most of a second). It starts with
// no picture being decoded (GStreamer and the image libraries both register
// GLib types as they start, and must not do it at the same moment), then
// removes from its registry every element that
// could reach past the file it is given: sources for anything but a local
// file or our own data, and the demuxers of playlists, manifests and network
// streams. A file that names an address or another file then plays nothing.
void start();

} // namespace mirelo::MediaBackend
