// A silent channel's install run without a window: one run on the worker pool, its UI tasks
// run on the calling thread while it waits. The silent window replaces this once it exists.
#pragma once

// Runs the install unless every enabled component is installed; logs the outcome.
void RunSilentInstall();
