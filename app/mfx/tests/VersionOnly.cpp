// mfx_test_version.dll: no code, only the version resource of VersionOnly.rc.
