# Sourced by test.sh and the scripts in tests/wine: a private Wine prefix with a Slovak locale.
# wine_prefix FOLDER: sets the array wine_env (run a command as `"${wine_env[@]}" wine …`),
# starts a persistent wine server for the prefix and boots it. wine_end stops the server.

wine_prefix() {
    local prefix=$1 locales=${1%/*}/locale
    # Wine needs a UTF-8 locale for non-ASCII file names; a Slovak one also gives the Windows
    # code page 1250, as on our users' computers. (Set through env: the calling shell does
    # not know the private locale.)
    if [[ ! -d $locales/sk_SK.UTF-8 ]]; then
        mkdir -p "$locales" && localedef -i sk_SK -f UTF-8 "$locales/sk_SK.UTF-8" || return 1
    fi
    wine_env=(env LOCPATH="$locales" LC_ALL=sk_SK.UTF-8 WINEPREFIX="$prefix" WINEDEBUG=-all
        WINEDLLOVERRIDES="mscoree,mshtml=")
    # A persistent wine server first, then the prefix: each program then starts in well under
    # a second. The server cannot start without the prefix's folder; without it each program
    # would start a server of its own that ends 3 s later, and a program starting just as one
    # ends dies with "wine client error".
    mkdir -p "$prefix" || return 1
    "${wine_env[@]}" wineserver -p </dev/null >/dev/null 2>&1
    "${wine_env[@]}" wine wineboot -i </dev/null >/dev/null 2>&1
}

wine_end() {
    "${wine_env[@]}" wineserver -k </dev/null >/dev/null 2>&1
    "${wine_env[@]}" wineserver -w </dev/null >/dev/null 2>&1
}
