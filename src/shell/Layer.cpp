// layer shell
