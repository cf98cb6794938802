#!/usr/bin/env bash
# Ends the unit-test prefix's wineserver (and with it every program of that prefix).
prefix="$1"
WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 </dev/null || true
