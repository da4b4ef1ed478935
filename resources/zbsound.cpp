// ZBSOUND.DLL: the sound library. Its content is its .rsrc section (the
// sounds, type 1006); it has no code.
