// The tag and header readers on their fuzz targets' seed corpus.
#include "../../fuzz/FuzzTargets.h"

#include "support/FuzzCorpus.h"

TEST(FuzzCorpus, ID3v2Reader) { replayFuzzCorpus("id3v2", fuzz::id3v2); }
TEST(FuzzCorpus, ID3v1Reader) { replayFuzzCorpus("id3v1", fuzz::id3v1); }
TEST(FuzzCorpus, MpegHeaderReader) { replayFuzzCorpus("mpeg", fuzz::mpeg); }
