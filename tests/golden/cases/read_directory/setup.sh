mkdir -p adir
