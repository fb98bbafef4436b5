// The library's process-wide objects, which live from load to unload: the request record, the
// engine that serves the runs of funcMorvaneLib, the store, the identifier of the progress
// message and the worker threads.
#pragma once

#include <functional>
#include <string>
#include <thread>

class PackageStore;

// One request for a collection, as the entry functions receive it.
struct CollectionRequest {
    std::string description;
    std::string message;      // the run's latest status message
    std::string problemTime;  // YYYY_MM_DD_HH_mm
    int unattended = 0;       // 1 for an unattended run
    std::string statusId;     // HHmmSS of a status-file run; empty otherwise
};

// Stores the request as the process-wide one and returns a copy for its worker, which a later
// request can no longer change.
CollectionRequest storeRequest(const CollectionRequest& request);

// Runs the request on the process-wide engine. Runs wait for each other there, so two requests
// never share one run's state. Returns the run's result.
int runOnProcessEngine(CollectionRequest request);

// Starts job on a thread of its own: detached, or handed to the caller to join when joinable is
// given. The library does not unload while a worker is still running. False when no thread
// could be started.
bool startWorker(std::function<void()> job, std::thread* joinable = nullptr);

// The identifier of the progress message "A message from LIB Process to Exe".
unsigned progressMessage();

// The library's one PackageStore.
PackageStore& libraryStore();
