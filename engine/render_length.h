// How long an offline render runs: once through the play orders, and the ring-out tail.
#pragma once

#include "model/song.h"

// Steps instrument `instrument` takes to play its play order once from its head: each playable
// bank up to the last one plays its measure (BPMsr steps), each empty or unplayable entry before
// it passes in one step; a stack that holds its head plays that bank once. 0 when the order
// holds no playable bank.
int playOrderSteps(const Song& song, int instrument);

// Steps that play the longest of the four play orders once; at least 1.
int onceThroughSteps(const Song& song);

// The most steps a tail may add: 10 seconds at `sampleRate`, rounded up to whole steps of
// `chunkFrames` frames.
int maxTailSteps(int sampleRate, int chunkFrames);

// Whether every one of `count` mix samples (full scale +-128, as the mixer's ring holds them)
// lies below -90 dBFS: a step that quiet ends the tail.
bool belowTailThreshold(const float* mix, int count);
