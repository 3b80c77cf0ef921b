# Sourced by scripts/test.sh: starts and stops what the database tests need.
services_start() { :; }
services_stop() { :; }
