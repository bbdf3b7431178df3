// SPDX-License-Identifier: GPL-3.0-or-later
/* Preloaded into the sanitizer runs: shared objects are never unloaded, so a leak
 * inside a library that was loaded at run time (the GL driver, the X extensions SDL
 * opens) is reported with that library's name, which the suppressions can match,
 * instead of as an unknown module. */
int dlclose(void *handle)
{
    (void)handle;
    return 0;
}
