// What packing a working folder came to, for the steps of the run that follow it.
#pragma once

class CollectionEngine;

// True when the engine's latest packWorkFolder could not write the whole archive: it could not
// be created, a write or a repositioning of the archive file failed, or its central directory
// was not written. The run then keeps the working folder, so that the collection is not lost.
bool archiveIncomplete(const CollectionEngine& engine);
